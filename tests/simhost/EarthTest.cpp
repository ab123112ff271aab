// Moving over the simulator's earth in its fixed-point position format.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "world/Earth.h"

namespace {

// A metre north is 2^32 latitude units exactly; nothing goes past a pole, also from a position
// that was set beyond one (a damaged recording played) and with the largest steps.
TEST(EarthTest, MovesNorthByWholeUnitsAndNeverPastAPole) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    const int64_t pole = Earth::latitudeRaw(90);
    const struct {
        int64_t from;
        double north;
        int64_t expected;
    } cases[] = {{0, 1, int64_t{1} << 32},   {1000, -2, 1000 - (int64_t{2} << 32)},
                 {pole - 5, 1, pole},        {kMax, 1e300, pole},
                 {kMax, -1e300, -pole},      {kMin, 1e300, pole},
                 {kMin, -1e300, -pole},      {kMax, 0, pole}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " + " << c.north << " m");
        int64_t latitude = c.from, longitude = 0;
        Earth::move(latitude, longitude, 0, c.north);
        EXPECT_EQ(c.expected, latitude);
    }
}

// Values an add-on writes that are no number or infinite become a position and attitude all the
// same: nothing is left undefined.
TEST(EarthTest, ValuesThatAreNoNumberBecomeZeroAndInfinitiesTheLimits) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(0, Earth::latitudeRaw(kNaN));
    EXPECT_EQ(Earth::latitudeRaw(90), Earth::latitudeRaw(kInf));
    EXPECT_EQ(0, Earth::altitudeRaw(kNaN));
    EXPECT_EQ(std::numeric_limits<int64_t>::min() + 1024, Earth::altitudeRaw(-kInf));
    EXPECT_EQ(0u, Earth::headingRaw(kNaN));
    EXPECT_EQ(0u, Earth::headingRaw(kInf));
    EXPECT_EQ(0, Earth::angleRaw(-kInf));
}

} // namespace
