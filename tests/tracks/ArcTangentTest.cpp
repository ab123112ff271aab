// The arc tangent the motion of a path is worked out with, against the standard library's.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tracks/ArcTangent.h"

namespace {

TEST(ArcTangentTest, EveryDirectionAndLengthAgreesWithTheStandardOne) {
    double worst = 0;
    for (int i = -200000; i <= 200000; ++i) {
        const double direction = i * std::numbers::pi / 200000 * 0.999999999;
        for (const double length : {1e-9, 0.3, 1.0, 47.0, 6.4e6}) {
            const double x = length * std::cos(direction), y = length * std::sin(direction);
            worst = std::max(worst, std::abs(arcTangent2(y, x) - std::atan2(y, x)));
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
        EXPECT_NEAR(point.angle, arcTangent2(point.y, point.x), 1e-15) << point.y << ", " << point.x;
}

} // namespace
