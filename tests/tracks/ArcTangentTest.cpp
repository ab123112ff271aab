// The arc tangent the motion of a path is worked out with, against the standard library's.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <numbers>

#include "tracks/ArcTangent.h"

namespace {

// Each of the two at once: the second goes round the other way at another length, so that the
// two lie in different octants nearly always.
TEST(ArcTangentTest, EveryDirectionAndLengthAgreesWithTheStandardOne) {
    double worst = 0;
    const double lengths[] = {1e-9, 0.3, 1.0, 47.0, 6.4e6};
    for (int i = -200000; i <= 200000; ++i) {
        const double direction = i * std::numbers::pi / 200000 * 0.999999999;
        for (std::size_t l = 0; l < std::size(lengths); ++l) {
            const double other = lengths[(l + 2) % std::size(lengths)];
            const DoublePair x = {lengths[l] * std::cos(direction), other * std::cos(-direction / 3)};
            const DoublePair y = {lengths[l] * std::sin(direction), other * std::sin(-direction / 3)};
            const DoublePair angles = arcTangent2(y, x);
            for (int lane = 0; lane < 2; ++lane)
                worst = std::max(worst, std::abs(angles[lane] - std::atan2(y[lane], x[lane])));
        }
    }
    EXPECT_LT(worst, 1e-15);
    // The axes, the diagonals and the origin.
    const struct {
        double y, x, angle;
    } exact[] = {{0, 1, 0},
                 {1, 0, std::numbers::pi / 2},
                 {0, -1, std::numbers::pi},
                 {-1, 0, -std::numbers::pi / 2},
                 {1, 1, std::numbers::pi / 4},
                 {-2, -2, -3 * std::numbers::pi / 4},
                 {0, 0, 0}};
    for (const auto& point : exact)
        for (const auto& beside : exact) {
            const DoublePair angles = arcTangent2(DoublePair{point.y, beside.y}, DoublePair{point.x, beside.x});
            EXPECT_NEAR(point.angle, angles[0], 1e-15) << point.y << ", " << point.x;
            EXPECT_NEAR(beside.angle, angles[1], 1e-15) << beside.y << ", " << beside.x;
        }
}

} // namespace
