// The error raised by a bad index into the diagram's arrays (and by operations
// that need a loaded table). It ends the operation in progress; the shell
// reports it as "Invalid argument." with the detail below it.
#pragma once

#include <stdexcept>
#include <string>

class InvalidArgumentError : public std::invalid_argument {
public:
    explicit InvalidArgumentError(const std::string& detail) : std::invalid_argument(detail) {}
};

[[noreturn]] void ThrowBadIndex(long long index, std::size_t size, const char* what);

// Throws InvalidArgumentError for an index outside [0, size). Inline, because
// every cell access of a load or a paint passes through it.
inline void CheckIndex(long long index, std::size_t size, const char* what) {
    if (index < 0 || static_cast<unsigned long long>(index) >= size) [[unlikely]]
        ThrowBadIndex(index, size, what);
}

// The text the program shows for the error: "Invalid argument." and, below
// it, what was wrong.
std::string InvalidArgumentMessage(const InvalidArgumentError& error);
