#include "diagram/FixedPointCell.h"

#include <cmath>

namespace fixed_point {

std::size_t Write(double value, int decimals, char* out) {
    auto k = static_cast<std::uint64_t>(std::llround(std::fabs(value) * kPowersOfTen[decimals]));
    char digits[kMaxLength];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + k % 10);
        k /= 10;
    } while (k != 0 || count <= decimals);
    std::size_t length = 0;
    if (std::signbit(value))
        out[length++] = '-';
    while (count > decimals)
        out[length++] = digits[--count];
    if (decimals > 0) {
        out[length++] = '.';
        while (count > 0)
            out[length++] = digits[--count];
    }
    return length;
}

} // namespace fixed_point
