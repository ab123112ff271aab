// The integer step of the interpolation against the extended-precision formula earlier builds
// used, trunc((long double)difference x f): on extreme and on random values, bit for bit.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "playback/Interpolation.h"

namespace {

static_assert(std::numeric_limits<long double>::digits == 64, "the reference is the x87 extended format");

template <typename Diff> Diff reference(Diff difference, float f) {
    return static_cast<Diff>(static_cast<long double>(difference) * f);
}

// trunc(difference x f) without any rounding, for comparison only.
int64_t exactStep(int64_t difference, float f) {
    int exponent = 0;
    const auto mantissa = static_cast<uint64_t>(std::ldexp(std::frexp(f, &exponent), 24)); // f = m x 2^(e - 24)
    const int shift = 24 - exponent;
    if (shift >= 128)
        return 0;
    const uint64_t magnitude = difference < 0 ? 0 - static_cast<uint64_t>(difference) : static_cast<uint64_t>(difference);
    const auto step = static_cast<uint64_t>(interpolation::Wide{magnitude} * mantissa >> shift);
    return static_cast<int64_t>(difference < 0 ? 0 - step : step);
}

std::vector<float> extremeFractions() {
    std::vector<float> fractions = {0.0f,
                                    std::numeric_limits<float>::denorm_min(),
                                    FLT_MIN - std::numeric_limits<float>::denorm_min(), // largest subnormal
                                    FLT_MIN,
                                    0x1p-40f,
                                    0x1p-24f,
                                    0x1.fffffep-2f,
                                    0.5f,
                                    0x1.000002p-1f,
                                    1.0f / 3,
                                    1.0f - 0x1p-24f,
                                    1.0f};
    // The fractions of a frame between two samples, as the playback buffer works them out.
    for (const auto& [t, span] : {std::pair{1u, 3u}, {2u, 3u}, {2499u, 2500u}, {1u, 4294967295u}, {4294967294u, 4294967295u}})
        fractions.push_back(static_cast<float>(static_cast<double>(t) / static_cast<double>(span)));
    return fractions;
}

std::vector<int64_t> extremeDifferences64() {
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min(), kMax = std::numeric_limits<int64_t>::max();
    std::vector<int64_t> differences = {0, 1, -1, kMin, kMin + 1, kMax, kMax - 1};
    for (const int bits : {24, 39, 40, 41, 52, 53, 54, 62})
        for (const int64_t d : {int64_t{1} << bits, (int64_t{1} << bits) + 1, (int64_t{1} << bits) - 1,
                                kMax - (int64_t{1} << bits) + 1})
            differences.insert(differences.end(), {d, -d});
    return differences;
}

std::vector<int32_t> extremeDifferences32() {
    return {0, 1, -1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
            std::numeric_limits<int32_t>::min() + 1, 65535, -65535, 16383, -16383, 0x00FFFFFF, -0x01000001};
}

TEST(InterpolationTest, ExtremeDifferencesAndFractionsStepAsWithExtendedPrecision) {
    for (const float f : extremeFractions()) {
        for (const int64_t d : extremeDifferences64())
            ASSERT_EQ(reference(d, f), interpolation::scaled(d, f)) << d << " x " << f;
        for (const int32_t d : extremeDifferences32())
            ASSERT_EQ(reference(d, f), interpolation::scaled(d, f)) << d << " x " << f;
    }
}

TEST(InterpolationTest, RandomDifferencesAndFractionsStepAsWithExtendedPrecision) {
    std::mt19937_64 engine(20261209);
    // Differences of every size, from a few units to the whole range; fractions of every size
    // down to the subnormals, and ones that sit just below an integer result.
    const auto difference = [&] { return static_cast<int64_t>(engine()) >> (engine() % 64); };
    const auto fraction = [&] {
        const float unit = std::uniform_real_distribution<float>(0.0f, 1.0f)(engine);
        return engine() % 4 == 0 ? std::ldexp(unit, -static_cast<int>(engine() % 150)) : unit;
    };
    int rounded = 0; // cases where the product needed more than 64 bits and its rounding mattered
    for (int i = 0; i < 300000; ++i) {
        const int64_t d = difference();
        const float f = fraction();
        const int64_t step = interpolation::scaled(d, f);
        ASSERT_EQ(reference(d, f), step) << d << " x " << f;
        ASSERT_LE(std::abs(static_cast<long double>(step)), std::abs(static_cast<long double>(d)));
        ASSERT_TRUE(step == 0 || (step < 0) == (d < 0)) << d << " x " << f;
        const auto d32 = static_cast<int32_t>(d >> 32);
        ASSERT_EQ(reference(d32, f), interpolation::scaled(d32, f)) << d32 << " x " << f;
        rounded += exactStep(d, f) == step ? 0 : 1;
    }
    // The values reach products that do not fit 64 bits and whose rounding moves the result.
    EXPECT_GT(rounded, 100);
}

} // namespace
