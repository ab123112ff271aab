// Whole numbers worked out in place, against the maths library's answers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "common/Rounding.h"

namespace {

TEST(RoundingTest, HalvesEdgesAndRandomValuesRoundAndFloorAsTheLibraryDoes) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  -0.5,
                                  1.5,
                                  -2.5,
                                  0.49999999999999994,
                                  -0.49999999999999994,
                                  4503599627370495.5, // the last halves below 2^52
                                  -4503599627370495.5,
                                  0x1p52 + 1,
                                  0x1p62 - 1024,
                                  0x1p62,
                                  -0x1p62,
                                  std::nextafter(0x1p63, 0.0),
                                  1e-320};
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        // Any magnitude up to 2^62, with and without a half.
        const double value = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random), i % 64);
        values.push_back(value);
        values.push_back(std::trunc(value) + 0.5);
    }
    for (const double value : values) {
        EXPECT_EQ(std::llround(value), roundedToInteger(value)) << value;
        EXPECT_EQ(static_cast<int64_t>(std::floor(value)), flooredToInteger(value)) << value;
    }
}

} // namespace
