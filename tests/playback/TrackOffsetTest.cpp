#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "playback/TrackOffset.h"
#include "support/Packed.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kUnitsPerMetre = 4294967296.0;       // latitude and altitude: 2^32 per metre
constexpr double kLongitudePerDegree = 18446744073709551616.0 / 360.0;

ContData at(double latitudeDegrees, double longitudeDegrees, double headingDegrees = 0) {
    ContData cont{};
    cont.latitude = static_cast<int64_t>(latitudeDegrees / 90.0 * 10001750.0 * kUnitsPerMetre);
    cont.longitude = static_cast<int64_t>(longitudeDegrees * kLongitudePerDegree);
    cont.heading = static_cast<uint32_t>(std::fmod(headingDegrees, 360.0) / 360.0 * 4294967296.0);
    return cont;
}

PlayTrack offset(float x, float y, float z, bool rotateHeading = false) {
    PlayTrack track;
    track.offsetX = x;
    track.offsetY = y;
    track.offsetZ = z;
    track.rotateHeading = rotateHeading ? 1 : 0;
    return track;
}

// Metres along the surface between two records, on a sphere of the module's meridian scale.
double metresNorth(const ContData& from, const ContData& to) {
    return static_cast<double>(copyOf(to.latitude) - copyOf(from.latitude)) / kUnitsPerMetre;
}
double metresEast(const ContData& from, const ContData& to) {
    const double latitude = static_cast<double>(copyOf(to.latitude)) / kUnitsPerMetre / 10001750.0 * 90.0;
    const auto units = static_cast<int64_t>(static_cast<uint64_t>(copyOf(to.longitude)) -
                                            static_cast<uint64_t>(copyOf(from.longitude)));
    return static_cast<double>(units) / kLongitudePerDegree * (40075016.68 / 360.0) * std::cos(latitude * kPi / 180);
}

TEST(TrackOffsetTest, MetresGoEastUpAndNorthUnlessTurnedWithTheHeading) {
    struct Case {
        double latitude, heading;
        PlayTrack track;
        double east, up, north;
    } cases[] = {
        {0, 0, offset(10, 0, 0), 10, 0, 0},
        {60, 0, offset(10, 0, 0), 10, 0, 0}, // a metre east is measured on the parallel
        {47, 0, offset(0, 5, -20), 0, 5, -20},
        {47, 90, offset(0, 0, 20), 0, 0, 20},       // not turned: forward stays north
        {47, 90, offset(0, 0, 20, true), 20, 0, 0}, // turned: forward points east
        {47, 180, offset(3, 0, 0, true), -3, 0, 0},
    };
    for (const Case& c : cases) {
        const ContData before = at(c.latitude, 8, c.heading);
        ContData after = before;
        applyTrackOffset(c.track, after);
        EXPECT_NEAR(metresEast(before, after), c.east, 0.01) << c.latitude << " " << c.heading;
        EXPECT_NEAR(metresNorth(before, after), c.north, 0.01) << c.latitude << " " << c.heading;
        EXPECT_NEAR(static_cast<double>(copyOf(after.altitude)) / kUnitsPerMetre, c.up, 1e-6);
    }
}

TEST(TrackOffsetTest, LongitudeWrapsAcrossTheDateLineAndThePoleStaysDefined) {
    ContData cont = at(0, 179.99999);
    applyTrackOffset(offset(100, 0, 0), cont);
    const double degrees = static_cast<double>(copyOf(cont.longitude)) / kLongitudePerDegree;
    EXPECT_NEAR(degrees, -180 + (100 / 111319.49 - 0.00001), 1e-5);

    ContData pole = at(90, 0);
    pole.latitude = static_cast<int64_t>(10001750.0 * kUnitsPerMetre); // exactly on the pole
    applyTrackOffset(offset(1, 0, 0), pole);
    EXPECT_EQ(copyOf(pole.latitude), static_cast<int64_t>(10001750.0 * kUnitsPerMetre));
}

TEST(TrackOffsetTest, NoOffsetLeavesTheRecordAlone) {
    ContData cont = at(47, 8, 45);
    const ContData before = cont;
    applyTrackOffset(offset(0, 0, 0, true), cont);
    EXPECT_EQ(copyOf(cont.latitude), copyOf(before.latitude));
    EXPECT_EQ(copyOf(cont.longitude), copyOf(before.longitude));
    EXPECT_EQ(copyOf(cont.altitude), copyOf(before.altitude));
}

} // namespace
