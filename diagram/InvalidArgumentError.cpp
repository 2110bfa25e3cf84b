#include "diagram/InvalidArgumentError.h"

void ThrowBadIndex(long long index, std::size_t size, const char* what) {
    throw InvalidArgumentError(std::string(what) + ": index " + std::to_string(index) +
                               " is outside 0.." +
                               (size == 0 ? std::string("(empty)") : std::to_string(size - 1)));
}

std::string InvalidArgumentMessage(const InvalidArgumentError& error) {
    const std::string detail = error.what();
    return detail.empty() ? "Invalid argument." : "Invalid argument.\n\n" + detail;
}
