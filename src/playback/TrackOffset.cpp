#include "playback/TrackOffset.h"

#include <cmath>
#include <numbers>

#include "cameras/Geometry.h"

namespace {

constexpr double kTwoToThe32 = 4294967296.0;
constexpr double kRadiansPerAngleUnit = 2 * std::numbers::pi / kTwoToThe32;
// Longitude units (2^64 per turn) per metre east at the equator.
constexpr double kLongitudePerMetre = 460305528975.90894;
// Radians per latitude unit (2^32 per metre along the meridian).
constexpr double kRadiansPerLatitudeUnit = 3.6566552834932875e-17;

float angle(double units, uint8_t wanted) {
    return wanted != 0 ? static_cast<float>(units * kRadiansPerAngleUnit) : 0.0f;
}

// A longitude difference as the 64-bit longitude wraps; near a pole a metre east spans any number
// of turns, which must not overflow the conversion.
int64_t longitudeUnits(double units) {
    constexpr double kTurn = 18446744073709551616.0; // 2^64
    if (!std::isfinite(units))
        return 0;
    double wrapped = std::fmod(std::trunc(units), kTurn);
    if (wrapped >= kTurn / 2)
        wrapped -= kTurn;
    else if (wrapped < -kTurn / 2)
        wrapped += kTurn;
    return static_cast<int64_t>(wrapped);
}

} // namespace

void applyTrackOffset(const PlayTrack& track, ContData& cont) {
    if (track.offsetX == 0 && track.offsetY == 0 && track.offsetZ == 0)
        return;
    const Geometry::Vec3 local = Geometry::multiply(
        Geometry::rotation(angle(cont.pitch, track.rotatePitch), angle(cont.bank, track.rotateBank),
                           angle(cont.heading, track.rotateHeading)),
        Geometry::Vec3{track.offsetX, track.offsetY, track.offsetZ});
    // Latitude first: the metres east are measured on the parallel the aircraft is moved to.
    cont.latitude += static_cast<int64_t>(std::trunc(local.z * kTwoToThe32));
    const double latitudeRadians = static_cast<double>(cont.latitude) * kRadiansPerLatitudeUnit;
    // The longitude wraps around the globe as its 64 bits do.
    const int64_t east = longitudeUnits(local.x * kLongitudePerMetre / std::cos(latitudeRadians));
    cont.longitude = static_cast<int64_t>(static_cast<uint64_t>(cont.longitude) + static_cast<uint64_t>(east));
    cont.altitude += static_cast<int64_t>(std::trunc(local.y * kTwoToThe32));
}
