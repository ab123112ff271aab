#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// How the text's everyday units become the stored fixed-point values and BCD digits.
namespace ImportEncoding {

// A position offset in metres: x to the right, y up, z forward, optionally turned with the
// aircraft's heading, pitch and bank.
struct Offset {
    double x = 0;
    double y = 0;
    double z = 0;
    bool useHeading = false;
    bool usePitch = false;
    bool useBank = false;
};

struct StoredPosition {
    int64_t latitude;
    int64_t longitude;
    int64_t altitude;
};

// Latitude and longitude in degrees, altitude in feet, the attitude in degrees.
StoredPosition position(double latitude, double longitude, double altitudeFeet, double pitch, double bank,
                        double heading, const Offset& offset);

// Pitch and bank are stored negated; all three wrap like the angles they are.
int32_t storedPitchOrBank(double degrees);
uint32_t storedHeading(double degrees);

// Feet per second towards east, up and north, from two positions dt seconds apart.
struct Velocity {
    double x;
    double y;
    double z;
};
Velocity derivedVelocity(double latitude, double longitude, double altitudeFeet, double previousLatitude,
                         double previousLongitude, double previousAltitudeFeet, double dt);

// Four BCD digits: tens, units, tenths and hundredths of the MHz value (the leading 1 is implied).
uint16_t navComBcd(double megahertz);
// Thousands .. tenths of kHz in bits 31..12.
uint32_t adfBcd(double kilohertz);
// The four decimal digits of the code.
uint16_t squawkBcd(uint16_t code);

struct Date {
    uint16_t year;
    uint8_t month;
    uint8_t day;
};
// "yyyy-mm-dd", "dd.mm.yyyy" or "mm/dd/yyyy"; a two-digit year is in 1951..2050.
std::optional<Date> parseDate(std::string_view text);

struct TimeOfDay {
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
};
// "hh:mm:ss"
std::optional<TimeOfDay> parseTime(std::string_view text);

// Saturating conversions: a value out of range takes the nearest end instead of being undefined.
int64_t truncated(double value);

} // namespace ImportEncoding
