#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "common/FlightData.h"
#include "converter/ImportEncoding.h"

namespace {

using namespace ImportEncoding;

double cosDeg(double degrees) { return std::cos(degrees * std::numbers::pi / 180); }

// How far the offset moved the stored position, in metres towards east, up and north.
struct Moved {
    double east, up, north;
};
Moved moved(double lat, double pitch, double bank, double heading, const Offset& offset) {
    const StoredPosition s = position(lat, 0, 0, pitch, bank, heading, offset);
    return {longitudeDegrees(s.longitude) * 40075000 * cosDeg(lat) / 360, altitudeMetres(s.altitude),
            (latitudeDegrees(s.latitude) - lat) * 40007000 / 360};
}

TEST(ImportEncodingTest, OffsetIsTurnedByTheSelectedAngles) {
    struct Case {
        const char* what;
        double lat, pitch, bank, heading;
        Offset offset;
        Moved expected;
    };
    const double c30 = std::sqrt(3.0) / 2;
    const std::vector<Case> cases = {
        {"forward on heading 90 with H", 0, 0, 0, 90, {0, 0, 10, true, false, false}, {10, 0, 0}},
        {"forward without H", 0, 0, 0, 90, {0, 0, 10, false, false, false}, {0, 0, 10}},
        {"east shrinks the degrees with latitude", 60, 0, 0, 90, {0, 0, 10, true, false, false}, {10, 0, 0}},
        {"up", 0, 20, 30, 40, {0, 5, 0, false, false, false}, {0, 5, 0}},
        {"right", 0, 0, 0, 0, {10, 0, 0, false, false, false}, {10, 0, 0}},
        {"right on heading 90 points south", 0, 0, 0, 90, {10, 0, 0, true, false, false}, {0, 0, -10}},
        {"right banked 90 points down", 0, 0, 90, 0, {10, 0, 0, false, false, true}, {0, -10, 0}},
        {"up banked 90 points east", 0, 0, 90, 0, {0, 10, 0, false, false, true}, {10, 0, 0}},
        {"forward pitched 90 points up", 0, 90, 0, 0, {0, 0, 10, false, true, false}, {0, 10, 0}},
        {"up pitched 90 points back", 0, 90, 0, 0, {0, 10, 0, false, true, false}, {0, 0, -10}},
        {"forward, heading 90 and pitch 30", 0, 30, 0, 90, {0, 0, 10, true, true, false}, {10 * c30, 5, 0}},
        {"angles without flags are ignored", 0, 30, 40, 90, {0, 0, 10, false, false, false}, {0, 0, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Moved m = moved(c.lat, c.pitch, c.bank, c.heading, c.offset);
        EXPECT_NEAR(c.expected.east, m.east, 1e-4);
        EXPECT_NEAR(c.expected.up, m.up, 1e-4);
        EXPECT_NEAR(c.expected.north, m.north, 1e-4);
    }
}

TEST(ImportEncodingTest, StoredPositionIsTruncatedTowardZero) {
    const Offset none;
    // 45 degrees is half of 10001750 * 2^32 units; -0.5 degrees has a fraction that truncates up.
    EXPECT_EQ(int64_t{10001750} << 31, position(45, 0, 0, 0, 0, 0, none).latitude);
    EXPECT_EQ(-((int64_t{10001750} << 32) / 180), position(-0.5, 0, 0, 0, 0, 0, none).latitude);
    EXPECT_EQ(int64_t{1} << 62, position(0, 90, 0, 0, 0, 0, none).longitude);
    EXPECT_EQ(-3 * (int64_t{1} << 61), position(0, -135, 0, 0, 0, 0, none).longitude);
    // 1e-12 degrees is 51240.95 units.
    EXPECT_EQ(51240, position(0, 1e-12, 0, 0, 0, 0, none).longitude);
    EXPECT_EQ(-51240, position(0, -1e-12, 0, 0, 0, 0, none).longitude);
    // 1000 ft = 304.8 m = 1309106031820.8 units.
    EXPECT_EQ(1309106031820, position(0, 0, 1000, 0, 0, 0, none).altitude);
    EXPECT_EQ(-1309106031820, position(0, 0, -1000, 0, 0, 0, none).altitude);
    EXPECT_EQ(int64_t{5} << 32, position(0, 0, 0, 0, 0, 0, {0, 5, 0, false, false, false}).altitude);
    // Longitudes beyond the date line name the same meridian.
    EXPECT_EQ(position(10, -170, 0, 0, 0, 0, none).longitude, position(10, 190, 0, 0, 0, 0, none).longitude);
    EXPECT_EQ(position(10, 170, 0, 0, 0, 0, none).longitude, position(10, -190, 0, 0, 0, 0, none).longitude);
}

TEST(ImportEncodingTest, AttitudeIsNegatedAndHeadingWrapsModulo2To32) {
    // One degree is 11930464.71 units.
    EXPECT_EQ(-11930464, storedPitchOrBank(1));
    EXPECT_EQ(11930464, storedPitchOrBank(-1));
    EXPECT_EQ(-(1 << 30), storedPitchOrBank(90));
    EXPECT_EQ(59652323, storedPitchOrBank(-5));
    EXPECT_EQ(1u << 30, storedHeading(90));
    EXPECT_EQ(11930464u, storedHeading(1));
    EXPECT_EQ(4294967296u - 11930464u, storedHeading(-1));
    EXPECT_EQ(3u << 30, storedHeading(-90));
    EXPECT_EQ(0u, storedHeading(360));
    EXPECT_EQ(1u << 30, storedHeading(450));
}

TEST(ImportEncodingTest, DerivedVelocitiesAreFeetPerSecond) {
    constexpr double kMetresPerLonDegree = 40075000.0 / 360; // at the equator
    constexpr double kMetresPerLatDegree = 10001750.0 / 90;
    // At 60 degrees a degree of longitude is half as long; 0.01 degrees in 2 s, 10 ft up.
    Velocity v = derivedVelocity(60, 10.01, 100, 60, 10, 90, 2);
    EXPECT_NEAR(0.01 * 0.5 * kMetresPerLonDegree / 0.3048 / 2, v.x, 1e-6);
    EXPECT_NEAR(5, v.y, 1e-9);
    EXPECT_NEAR(0, v.z, 1e-9);
    v = derivedVelocity(1, 0, 0, 0, 0, 0, 1);
    EXPECT_NEAR(kMetresPerLatDegree / 0.3048, v.z, 1e-6);
    EXPECT_NEAR(0, v.x, 1e-9);
    // Crossing the date line eastwards is a small step east.
    v = derivedVelocity(0, -179.999, 0, 0, 179.999, 0, 1);
    EXPECT_NEAR(0.002 * kMetresPerLonDegree / 0.3048, v.x, 1e-3);
    v = derivedVelocity(0, 179.999, 0, 0, -179.999, 0, 1);
    EXPECT_NEAR(-0.002 * kMetresPerLonDegree / 0.3048, v.x, 1e-3);
}

TEST(ImportEncodingTest, RadiosAreBcdDigits) {
    EXPECT_EQ(0x1345, navComBcd(113.45));
    EXPECT_EQ(0x0800, navComBcd(108.00));
    EXPECT_EQ(0x1800, navComBcd(118));
    EXPECT_EQ(0x2150, navComBcd(121.5));
    EXPECT_EQ(0x3697, navComBcd(136.975)); // 136.9795: the last digit is cut, not rounded
    EXPECT_EQ(0x1345, navComBcd(113.446));
    EXPECT_EQ(0x1344, navComBcd(113.445));
    EXPECT_EQ(0x12345000u, adfBcd(1234.5));
    EXPECT_EQ(0x05000000u, adfBcd(500));
    EXPECT_EQ(0x03510000u, adfBcd(350.96));
    EXPECT_EQ(0x03509000u, adfBcd(350.94));
    EXPECT_EQ(0x7700, squawkBcd(7700));
    EXPECT_EQ(0x1200, squawkBcd(1200));
    EXPECT_EQ(0x0042, squawkBcd(42));
}

TEST(ImportEncodingTest, DatesInThreeFormatsWithATwoDigitYearWindow) {
    struct Case {
        const char* text;
        bool ok;
        int year, month, day;
    };
    const std::vector<Case> cases = {
        {"15.08.11", true, 2011, 8, 15},   {"31.02.2011", true, 2011, 2, 31},
        {"08/15/2011", true, 2011, 8, 15},
        {"2011-08-15", true, 2011, 8, 15}, {"1.1.50", true, 2050, 1, 1},      {"1.1.51", true, 1951, 1, 1},
        {"1.1.0", true, 2000, 1, 1},       {"1.1.99", true, 1999, 1, 1},      {"1.1.100", true, 100, 1, 1},
        {"9999-12-31", true, 9999, 12, 31}, {"0.1.2011", false, 0, 0, 0},     {"32.1.2011", false, 0, 0, 0},
        {"1.13.2011", false, 0, 0, 0},     {"1.0.2011", false, 0, 0, 0},      {"10000-01-01", false, 0, 0, 0},
        {"2011-08", false, 0, 0, 0},       {"15.08-2011", false, 0, 0, 0},    {"yesterday", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto date = parseDate(c.text);
        ASSERT_EQ(c.ok, date.has_value());
        if (date) {
            EXPECT_EQ(c.year, date->year);
            EXPECT_EQ(c.month, date->month);
            EXPECT_EQ(c.day, date->day);
        }
    }
}

TEST(ImportEncodingTest, TimeOfDayStaysWithinADay) {
    const auto t = parseTime("23:59:59");
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(23, t->hour);
    EXPECT_EQ(59, t->minute);
    EXPECT_EQ(59, t->second);
    const auto early = parseTime("1:2:3");
    ASSERT_TRUE(early.has_value());
    EXPECT_EQ(1, early->hour);
    EXPECT_EQ(2, early->minute);
    EXPECT_EQ(3, early->second);
    for (const char* bad : {"24:00:00", "00:60:00", "00:00:60", "12:30", "12-30-00", "noon"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseTime(bad).has_value());
    }
}

TEST(ImportEncodingTest, HugeValuesSaturate) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    EXPECT_EQ(kMax, truncated(1e300));
    EXPECT_EQ(kMin, truncated(-1e300));
    EXPECT_EQ(kMax, truncated(9223372036854775808.0));
    EXPECT_EQ(kMin, truncated(-9223372036854775808.0));
    EXPECT_EQ(0, truncated(std::nan("")));
    EXPECT_EQ(-7, truncated(-7.9));
    const Offset none;
    EXPECT_EQ(kMax, position(0, 0, 1e300, 0, 0, 0, none).altitude);
    EXPECT_EQ(kMin, position(0, 0, -1e300, 0, 0, 0, none).altitude);
    EXPECT_EQ(kMax, position(1e300, 0, 0, 0, 0, 0, none).latitude);
    EXPECT_EQ(kMin, position(0, 0, 0, 0, 0, 0, {0, 0, -1e300, false, false, false}).latitude);
}

} // namespace
