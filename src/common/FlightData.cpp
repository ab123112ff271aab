#include "common/FlightData.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/Rounding.h"

uint32_t contGroupSize(uint32_t bit, uint32_t nEngines) {
    switch (bit) {
    case ContGroup::FlightControls:
        return 6;
    case ContGroup::Throttles:
    case ContGroup::Propellers:
    case ContGroup::Mixtures:
        return 2 * nEngines;
    case ContGroup::Spoilers:
        return 2;
    case ContGroup::Airspeeds:
        return 8;
    case ContGroup::MainExit:
    case ContGroup::Tailhook:
    case ContGroup::AmbientWind:
    case ContGroup::Mach:
        return 4;
    case ContGroup::WingFold:
        return 8;
    case ContGroup::TimeOfDay:
        return 3;
    case ContGroup::ExtendedControls:
    case ContGroup::ExtendedGear:
        return 20;
    case ContGroup::ExtendedFlaps:
        return 16;
    default:
        return 0;
    }
}

uint32_t discGroupSize(uint32_t bit) {
    switch (bit) {
    case DiscGroup::Gear:
    case DiscGroup::Lights:
        return 2;
    case DiscGroup::NavRadios:
        return 12;
    case DiscGroup::ComRadios:
        return 6;
    case DiscGroup::Date:
        return 4;
    case DiscGroup::Flaps:
    case DiscGroup::ParkingBrake:
    case DiscGroup::Engines:
    case DiscGroup::Smoke:
    case DiscGroup::Autopilot:
    case DiscGroup::NoseVisor:
        return 1;
    default:
        return 0;
    }
}

uint32_t contRecordSize(uint32_t contFlags, uint32_t nEngines) {
    uint32_t size = kContFixedSize;
    for (uint32_t bit = 1; bit <= ContGroup::ExtendedGear; bit <<= 1)
        if (contFlags & bit)
            size += contGroupSize(bit, nEngines);
    return size;
}

uint32_t discRecordSize(uint32_t discFlags) {
    uint32_t size = kDiscFixedSize;
    for (uint32_t bit = 1; bit <= DiscGroup::Date; bit <<= 1)
        if (discFlags & bit)
            size += discGroupSize(bit);
    return size;
}

bool discDataEqual(const DiscData& a, const DiscData& b, uint32_t discFlags, uint32_t nEngines) {
    if (a.onground != b.onground)
        return false;
    if ((discFlags & DiscGroup::Flaps) && a.flaps != b.flaps)
        return false;
    if ((discFlags & DiscGroup::Gear) && a.gear != b.gear)
        return false;
    if ((discFlags & DiscGroup::Lights) && a.lights != b.lights)
        return false;
    if ((discFlags & DiscGroup::ParkingBrake) && a.parkbrake != b.parkbrake)
        return false;
    if (discFlags & DiscGroup::Engines) {
        uint32_t engineBits = nEngines >= 8 ? 0xffu : (1u << nEngines) - 1u;
        if (((a.engines ^ b.engines) & engineBits) != 0)
            return false;
    }
    if ((discFlags & DiscGroup::NavRadios) && (a.nav1 != b.nav1 || a.nav2 != b.nav2 || a.adf != b.adf))
        return false;
    if ((discFlags & DiscGroup::ComRadios) && (a.com != b.com || a.squawk != b.squawk))
        return false;
    if ((discFlags & DiscGroup::Smoke) && a.smoke != b.smoke)
        return false;
    if ((discFlags & DiscGroup::Autopilot) && a.autopilot != b.autopilot)
        return false;
    if ((discFlags & DiscGroup::NoseVisor) && a.concnose != b.concnose)
        return false;
    if ((discFlags & DiscGroup::Date) && (a.day != b.day || a.month != b.month || a.year != b.year))
        return false;
    return true;
}

void clearDiscData(DiscData& data) {
    uint32_t timestamp = data.timestamp;
    uint8_t engines = data.engines;
    std::memset(&data, 0, sizeof data);
    data.timestamp = timestamp;
    data.engines = static_cast<uint8_t>(engines & 0xf0);
}

namespace {
uint32_t nibble(uint32_t value, int shift) { return (value >> shift) & 0xf; }
} // namespace

double bcdNavComMHz(uint16_t bcd) {
    return 100.0 + 10.0 * nibble(bcd, 12) + nibble(bcd, 8) + nibble(bcd, 4) / 10.0 + nibble(bcd, 0) / 100.0;
}

uint32_t bcdSquawk(uint16_t bcd) {
    return 1000 * nibble(bcd, 12) + 100 * nibble(bcd, 8) + 10 * nibble(bcd, 4) + nibble(bcd, 0);
}

double bcdAdfKHz(uint32_t adf) {
    return 1000.0 * nibble(adf, 28) + 100.0 * nibble(adf, 24) + 10.0 * nibble(adf, 20) + nibble(adf, 16) +
           nibble(adf, 12) / 10.0;
}

namespace {
constexpr double kTwo32 = 4294967296.0;
constexpr double kTwo64 = 18446744073709551616.0;
constexpr double kLatitudeUnitsPerDegree = 10001750.0 * kTwo32 / 90.0;

// Angles wrap: reduce to [0, 360) first so the conversion to an unsigned count is defined.
double wrapDegrees(double degrees) {
    // Mostly the angle is already there, or one turn short (a pitch or bank below level).
    if (degrees >= 0 && degrees < 360)
        return degrees;
    if (degrees > -360 && degrees < 0)
        return degrees + 360.0;
    double wrapped = std::fmod(degrees, 360.0);
    return wrapped < 0 ? wrapped + 360.0 : wrapped;
}
} // namespace

double latitudeDegrees(int64_t latitude) { return static_cast<double>(latitude) / kLatitudeUnitsPerDegree; }

int64_t latitudeFromDegrees(double degrees) { return roundedToInteger(degrees * kLatitudeUnitsPerDegree); }

double longitudeDegrees(int64_t longitude) { return static_cast<double>(longitude) * 360.0 / kTwo64; }

int64_t longitudeFromDegrees(double degrees) {
    double turns = wrapDegrees(degrees) / 360.0;
    return static_cast<int64_t>(static_cast<uint64_t>(std::min(turns * kTwo64, kTwo64 - 2048.0)));
}

double altitudeMetres(int64_t altitude) { return static_cast<double>(altitude) / kTwo32; }

int64_t altitudeFromMetres(double metres) { return roundedToInteger(metres * kTwo32); }

double angleDegrees(int32_t angle) { return angle * 360.0 / kTwo32; }

double headingDegrees(uint32_t heading) { return heading * 360.0 / kTwo32; }

uint32_t angleFromDegrees(double degrees) {
    double units = wrapDegrees(degrees) / 360.0 * kTwo32;
    return units >= kTwo32 ? 0 : static_cast<uint32_t>(units);
}
