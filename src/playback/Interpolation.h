#pragma once

#include <bit>
#include <cstdint>

#include "common/FlightData.h"

// The state between two continuous samples A and B, a fraction f (0 to 1) of the way from A.
// Integer fields move by trunc((B - A) x f) with the product held to a 64-bit significand, as the
// extended precision of earlier builds had it, so that playback stays the same to the last bit;
// worked out in integers, because the player does this for every field of every track in every
// frame.

namespace interpolation {

// f as mantissa x 2^-shift. A float in [0, 1] has a shift of at least 23.
struct Fraction {
    uint32_t mantissa;
    uint32_t shift;
};

inline Fraction split(float f) {
    const auto bits = std::bit_cast<uint32_t>(f);
    const uint32_t exponent = bits >> 23 & 0xFFu;
    const uint32_t fraction = bits & 0x7FFFFFu;
    if (exponent == 0)
        return {fraction, 149}; // subnormal: no hidden bit
    return {fraction | 0x800000u, 150 - exponent};
}

__extension__ using Wide = unsigned __int128;

// trunc(difference x f) for 0 <= f <= 1, the product rounded to 64 significant bits (to nearest,
// ties to even) before it is truncated: the magnitude worked out, the sign put back, so that it
// rounds toward zero both ways. Never larger in magnitude than the difference.
inline int64_t scaled(int64_t difference, float f) {
    const Fraction fraction = split(f);
    if (fraction.shift >= 88)
        return 0; // |difference| x mantissa < 2^87, also once rounded
    const uint64_t magnitude = difference < 0 ? 0 - static_cast<uint64_t>(difference) : static_cast<uint64_t>(difference);
    Wide product = Wide{magnitude} * fraction.mantissa;
    const auto high = static_cast<uint64_t>(product >> 64);
    if (high != 0) {
        // Bits beyond the 64 kept: at most 23, never more than the shift that follows.
        const auto dropped = static_cast<uint32_t>(64 - std::countl_zero(high));
        const Wide kept = product >> dropped;
        const Wide rest = product & ((Wide{1} << dropped) - 1);
        const Wide half = Wide{1} << (dropped - 1);
        const bool up = rest > half || (rest == half && (kept & 1) != 0);
        product = (kept + (up ? 1 : 0)) << dropped;
    }
    const auto step = static_cast<uint64_t>(product >> fraction.shift);
    return static_cast<int64_t>(difference < 0 ? 0 - step : step);
}

// The same for 32-bit differences, whose product always fits 64 bits and so is exact.
inline int32_t scaled(int32_t difference, float f) {
    const Fraction fraction = split(f);
    if (fraction.shift >= 56)
        return 0; // |difference| x mantissa < 2^55
    const uint64_t magnitude = difference < 0 ? 0 - static_cast<uint64_t>(difference) : static_cast<uint64_t>(difference);
    const uint64_t step = magnitude * fraction.mantissa >> fraction.shift;
    return static_cast<int32_t>(static_cast<uint32_t>(difference < 0 ? 0 - step : step));
}

// Moves `out`, sample A, the fraction f of the way to sample B, group by group as the track's
// flags and engine count say; wind and time of day stay those of A, and so does the time stamp.
void interpolate(ContData& out, const ContData& b, float f, uint32_t flags, uint32_t nEngines);

} // namespace interpolation
