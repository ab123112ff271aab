#include "converter/ImportEncoding.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace ImportEncoding {
namespace {

constexpr double kTwo32 = 4294967296.0;
constexpr double kTwo64 = 18446744073709551616.0;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kMeridianMetres = 40007000;
constexpr double kEquatorMetres = 40075000;
constexpr double kQuarterMeridianMetres = 10001750;

double radians(double degrees) { return degrees * std::numbers::pi / 180; }

// Longitudes outside -180..180 name the same meridian as their wrapped value.
double wrappedLongitude(double degrees) {
    if (degrees >= -180 && degrees < 180)
        return degrees;
    double wrapped = std::fmod(degrees + 180, 360);
    if (wrapped < 0)
        wrapped += 360;
    return wrapped - 180;
}

uint32_t wrapped32(double units) { return static_cast<uint32_t>(static_cast<uint64_t>(truncated(units))); }

// The units digit of a scaled value.
uint32_t digit(double scaled) {
    int64_t d = truncated(scaled) % 10;
    return static_cast<uint32_t>(d < 0 ? d + 10 : d);
}

// One "%hu" of sscanf: blanks, an optional sign, digits; the value kept to 16 bits.
bool scanNumber(std::string_view text, std::size_t& pos, uint16_t& value) {
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= 9 && text[pos] <= 13)))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    const std::size_t first = pos;
    uint64_t number = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        number = number * 10 + static_cast<uint64_t>(text[pos++] - '0');
    if (pos == first)
        return false;
    value = static_cast<uint16_t>(negative ? 0 - number : number);
    return true;
}

// sscanf(text, "%hu<sep>%hu<sep>%hu") == 3
bool scanThree(std::string_view text, char separator, uint16_t (&values)[3]) {
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != separator)
                return false;
            ++pos;
        }
        if (!scanNumber(text, pos, values[i]))
            return false;
    }
    return true;
}

} // namespace

int64_t truncated(double value) {
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    if (std::isnan(value))
        return 0;
    if (value >= kLimit)
        return std::numeric_limits<int64_t>::max();
    if (value < -kLimit)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

StoredPosition position(double latitude, double longitude, double altitudeFeet, double pitch, double bank,
                        double heading, const Offset& offset) {
    const double h = offset.useHeading ? radians(heading) : 0;
    const double p = offset.usePitch ? radians(pitch) : 0;
    const double b = offset.useBank ? radians(bank) : 0;
    const double sh = std::sin(h), ch = std::cos(h);
    const double sp = std::sin(-p), cp = std::cos(p);
    const double sb = std::sin(b), cb = std::cos(b);
    const double x = offset.x, y = offset.y, z = offset.z;

    // Turned by bank about the forward axis, then by pitch, then by heading.
    const double east = (ch * cb - sb * sp * sh) * x + (sb * ch + sh * sp * cb) * y + (sh * cp) * z;
    const double up = (-sb * cp) * x + (cb * cp) * y + (-sp) * z;
    const double north = (-sh * cb - ch * sb * sp) * x + (ch * sp * cb - sb * sh) * y + (ch * cp) * z;

    StoredPosition stored{};
    stored.latitude =
        truncated((latitude + north * 360 / kMeridianMetres) * kQuarterMeridianMetres * kTwo32 / 90);
    const double lon = longitude + east * 360 / (kEquatorMetres * std::cos(radians(latitude)));
    stored.longitude = truncated(wrappedLongitude(lon) * kTwo64 / 360);
    stored.altitude = truncated((altitudeFeet * kMetresPerFoot + up) * kTwo32);
    return stored;
}

int32_t storedPitchOrBank(double degrees) { return static_cast<int32_t>(wrapped32(degrees * -kTwo32 / 360)); }

uint32_t storedHeading(double degrees) { return wrapped32(degrees * kTwo32 / 360); }

Velocity derivedVelocity(double latitude, double longitude, double altitudeFeet, double previousLatitude,
                         double previousLongitude, double previousAltitudeFeet, double dt) {
    // A track that crosses the date line moves a little east or west, not once around the world.
    double east = longitude - previousLongitude;
    if (east > 180)
        east -= 360;
    else if (east < -180)
        east += 360;
    return {std::cos(radians(latitude)) * east / 360 * kEquatorMetres / kMetresPerFoot / dt,
            (altitudeFeet - previousAltitudeFeet) / dt,
            (latitude - previousLatitude) / 90 * kQuarterMeridianMetres / kMetresPerFoot / dt};
}

uint16_t navComBcd(double megahertz) {
    const double v = megahertz + 0.0045;
    return static_cast<uint16_t>(digit(v / 10) << 12 | digit(v) << 8 | digit(v * 10) << 4 | digit(v * 100));
}

uint32_t adfBcd(double kilohertz) {
    const double v = kilohertz + 0.05;
    return digit(v / 1000) << 28 | digit(v / 100) << 24 | digit(v / 10) << 20 | digit(v) << 16 | digit(v * 10) << 12;
}

uint16_t squawkBcd(uint16_t code) {
    return static_cast<uint16_t>((code / 1000 % 10) << 12 | (code / 100 % 10) << 8 | (code / 10 % 10) << 4 |
                                 code % 10);
}

std::optional<Date> parseDate(std::string_view text) {
    uint16_t v[3];
    uint16_t year = 0, month = 0, day = 0;
    if (scanThree(text, '-', v)) {
        year = v[0], month = v[1], day = v[2];
    } else if (scanThree(text, '.', v)) {
        day = v[0], month = v[1], year = v[2];
    } else if (scanThree(text, '/', v)) {
        month = v[0], day = v[1], year = v[2];
    } else {
        return std::nullopt;
    }
    if (day < 1 || day > 31 || month < 1 || month > 12 || year > 9999)
        return std::nullopt;
    if (year < 100)
        year = static_cast<uint16_t>(year < 51 ? 2000 + year : 1900 + year);
    return Date{year, static_cast<uint8_t>(month), static_cast<uint8_t>(day)};
}

std::optional<TimeOfDay> parseTime(std::string_view text) {
    uint16_t v[3];
    if (!scanThree(text, ':', v) || v[0] > 23 || v[1] > 59 || v[2] > 59)
        return std::nullopt;
    return TimeOfDay{static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[2])};
}

} // namespace ImportEncoding
