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

// Throws InvalidArgumentError for an index outside [0, size).
void CheckIndex(long long index, std::size_t size, const char* what);

// The text the program shows for the error: "Invalid argument." and, below
// it, what was wrong.
std::string InvalidArgumentMessage(const InvalidArgumentError& error);
