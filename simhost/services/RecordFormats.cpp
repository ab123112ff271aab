#include "services/RecordFormats.h"

#include <cmath>

namespace RecordFormats {
namespace {

constexpr double kLatitudeQuarter = 10001750.0 * 4294967296.0; // raw units per 90 degrees
constexpr double kTwoTo32 = 4294967296.0;
constexpr double kTwoTo64 = 18446744073709551616.0;

// The angle as a share of a full turn in [-0.5, 0.5).
double halfTurns(double degrees) {
    const double turns = degrees / 360.0;
    return turns - std::floor(turns + 0.5);
}

} // namespace

double latitudeDegrees(int64_t latitude) {
    return static_cast<double>(latitude) * 90.0 / kLatitudeQuarter;
}

int64_t latitudeFromDegrees(double degrees) {
    return std::llround(degrees / 90.0 * kLatitudeQuarter);
}

double longitudeDegrees(int64_t longitude) {
    return static_cast<double>(longitude) * 360.0 / kTwoTo64;
}

int64_t longitudeFromDegrees(double degrees) {
    const double raw = std::round(halfTurns(degrees) * kTwoTo64);
    // Just below +180 degrees can round up to 2^63, which is -180 degrees.
    return raw >= kTwoTo64 / 2 ? INT64_MIN : static_cast<int64_t>(raw);
}

double altitudeMetres(int64_t altitude) {
    return static_cast<double>(altitude) / kTwoTo32;
}

int64_t altitudeFromMetres(double metres) {
    return std::llround(metres * kTwoTo32);
}

double angleDegrees(uint32_t angle) {
    return static_cast<double>(angle) * 360.0 / kTwoTo32;
}

double signedAngleDegrees(int32_t angle) {
    return static_cast<double>(angle) * 360.0 / kTwoTo32;
}

uint32_t angleFromDegrees(double degrees) {
    const auto raw = static_cast<int64_t>(std::llround(halfTurns(degrees) * kTwoTo32));
    return static_cast<uint32_t>(static_cast<uint64_t>(raw) & 0xFFFFFFFFu);
}

} // namespace RecordFormats
