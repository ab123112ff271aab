#include "world/Earth.h"

#include <algorithm>
#include <cmath>

namespace Earth {
namespace {

constexpr double k2Pow32 = 4294967296.0;
constexpr double k2Pow64 = 18446744073709551616.0;
constexpr double kLatitudeUnitsPerDegree = kQuarterMeridian * k2Pow32 / 90;
constexpr double kLongitudeUnitsPerDegree = k2Pow64 / 360;
constexpr double kAngleUnitsPerDegree = k2Pow32 / 360;

// The nearest 64-bit integer, kept inside the type's range; a value that is no number (what an
// add-on may write) is 0.
int64_t toInt64(double value) {
    constexpr double kLimit = 9223372036854774784.0; // the largest double below 2^63
    if (std::isnan(value))
        return 0;
    return static_cast<int64_t>(std::llround(std::clamp(value, -kLimit, kLimit)));
}

// Degrees into [-180, 180).
double signedDegrees(double degrees) {
    const double wrapped = std::fmod(degrees + 180, 360);
    return (wrapped < 0 ? wrapped + 360 : wrapped) - 180;
}

} // namespace

int64_t latitudeRaw(double degrees) {
    return toInt64(std::clamp(degrees, -90.0, 90.0) * kLatitudeUnitsPerDegree);
}

double latitudeDegrees(int64_t raw) {
    return static_cast<double>(raw) / kLatitudeUnitsPerDegree;
}

int64_t longitudeRaw(double degrees) {
    return toInt64(signedDegrees(degrees) * kLongitudeUnitsPerDegree);
}

double longitudeDegrees(int64_t raw) {
    return static_cast<double>(raw) / kLongitudeUnitsPerDegree;
}

int64_t altitudeRaw(double metres) {
    return toInt64(metres * k2Pow32);
}

double altitudeMetres(int64_t raw) {
    return static_cast<double>(raw) / k2Pow32;
}

int32_t angleRaw(double degrees) {
    return static_cast<int32_t>(static_cast<uint32_t>(headingRaw(degrees)));
}

double angleDegrees(int32_t raw) {
    return static_cast<double>(raw) / kAngleUnitsPerDegree;
}

uint32_t headingRaw(double degrees) {
    if (!std::isfinite(degrees))
        return 0;
    const double units = std::round(normalizedHeading(degrees) * kAngleUnitsPerDegree);
    return static_cast<uint32_t>(static_cast<uint64_t>(units) & 0xFFFFFFFFu);
}

double headingDegrees(uint32_t raw) {
    return static_cast<double>(raw) / kAngleUnitsPerDegree;
}

void move(int64_t& latitude, int64_t& longitude, double east, double north) {
    // Steps are added as whole units, so that a position at rest keeps every unit.
    // A position set beyond a pole (a damaged recording played) starts from the pole; no step goes
    // further than pole to pole, so the sum stays in range.
    const int64_t pole = latitudeRaw(90);
    const int64_t northward = std::clamp(toInt64(north * k2Pow32), -2 * pole, 2 * pole);
    latitude = std::clamp(std::clamp(latitude, -pole, pole) + northward, -pole, pole);
    const double cosine = std::max(std::cos(radians(latitudeDegrees(latitude))), 1e-6);
    const int64_t step = toInt64(degrees(east / (kRadius * cosine)) * kLongitudeUnitsPerDegree);
    // Longitude wraps at the antimeridian, as unsigned arithmetic does.
    longitude = static_cast<int64_t>(static_cast<uint64_t>(longitude) + static_cast<uint64_t>(step));
}

double distance(double latitude1, double longitude1, double latitude2, double longitude2) {
    const double phi1 = radians(latitude1);
    const double phi2 = radians(latitude2);
    const double halfDeltaPhi = (phi2 - phi1) / 2;
    const double halfDeltaLambda = radians(signedDegrees(longitude2 - longitude1)) / 2;
    const double a = std::sin(halfDeltaPhi) * std::sin(halfDeltaPhi) +
                     std::cos(phi1) * std::cos(phi2) * std::sin(halfDeltaLambda) * std::sin(halfDeltaLambda);
    return 2 * kRadius * std::asin(std::min(1.0, std::sqrt(a)));
}

double bearing(double latitude1, double longitude1, double latitude2, double longitude2) {
    const double phi1 = radians(latitude1);
    const double phi2 = radians(latitude2);
    const double deltaLambda = radians(signedDegrees(longitude2 - longitude1));
    const double y = std::sin(deltaLambda) * std::cos(phi2);
    const double x =
        std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(deltaLambda);
    return normalizedHeading(degrees(std::atan2(y, x)));
}

void destination(double latitude, double longitude, double bearingDegrees, double metres, double& outLatitude,
                 double& outLongitude) {
    const double phi = radians(latitude);
    const double theta = radians(bearingDegrees);
    const double delta = metres / kRadius;
    const double phi2 =
        std::asin(std::sin(phi) * std::cos(delta) + std::cos(phi) * std::sin(delta) * std::cos(theta));
    const double lambda = std::atan2(std::sin(theta) * std::sin(delta) * std::cos(phi),
                                     std::cos(delta) - std::sin(phi) * std::sin(phi2));
    outLatitude = degrees(phi2);
    outLongitude = signedDegrees(longitude + degrees(lambda));
}

double turn(double from, double to) {
    return signedDegrees(to - from);
}

double normalizedHeading(double degrees) {
    const double wrapped = std::fmod(degrees, 360);
    return wrapped < 0 ? wrapped + 360 : wrapped;
}

} // namespace Earth
