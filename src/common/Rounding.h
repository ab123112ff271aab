#pragma once

#include <cmath>
#include <cstdint>

// std::llround's and std::floor's answers for the whole numbers every record is made of, without
// a call into the maths library for each (several for every recorded or imported record): the
// part past the whole number decides. Beyond 2^62 every double is whole, and beyond 2^63 (or for
// NaN) the library is asked as before.
inline int64_t roundedToInteger(double value) {
    if (!(std::abs(value) < 0x1p62))
        return std::llround(value);
    const auto whole = static_cast<int64_t>(value); // towards zero, and exact below 2^62
    const double rest = value - static_cast<double>(whole);
    return whole + (rest >= 0.5 ? 1 : 0) - (rest <= -0.5 ? 1 : 0);
}

inline int64_t flooredToInteger(double value) {
    if (!(std::abs(value) < 0x1p62))
        return static_cast<int64_t>(std::floor(value));
    const auto whole = static_cast<int64_t>(value);
    return whole - (value < static_cast<double>(whole) ? 1 : 0);
}
