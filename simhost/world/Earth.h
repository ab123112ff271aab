#pragma once

#include <cstdint>

// The simulator's spherical earth and the fixed-point formats positions and attitudes are kept in
// (those of the flight data record). The sphere's quarter meridian is the 10001750 metres the
// latitude format is built on, so one metre north is exactly 2^32 latitude units.
namespace Earth {

constexpr double kPi = 3.14159265358979323846;
constexpr double kQuarterMeridian = 10001750.0;        // metres
constexpr double kRadius = 2 * kQuarterMeridian / kPi; // metres
constexpr double kMetresPerFoot = 0.3048;
constexpr double kFeetPerSecondPerKnot = 1852.0 / 3600 / kMetresPerFoot;
constexpr double kGravity = 32.174; // feet per second squared

constexpr double radians(double degrees) { return degrees * kPi / 180; }
constexpr double degrees(double radians) { return radians * 180 / kPi; }

int64_t latitudeRaw(double degrees);
double latitudeDegrees(int64_t raw);
int64_t longitudeRaw(double degrees);
double longitudeDegrees(int64_t raw);
int64_t altitudeRaw(double metres);
double altitudeMetres(int64_t raw);
// Pitch and bank: signed; heading: 0 .. 360.
int32_t angleRaw(double degrees);
double angleDegrees(int32_t raw);
uint32_t headingRaw(double degrees);
double headingDegrees(uint32_t raw);

// Moves a raw position by metres east and north. Stationary stays exact: a zero move changes no unit.
void move(int64_t& latitude, int64_t& longitude, double east, double north);

// Between two points given in degrees: the great-circle distance in metres and the initial true
// bearing in degrees (0 .. 360).
double distance(double latitude1, double longitude1, double latitude2, double longitude2);
double bearing(double latitude1, double longitude1, double latitude2, double longitude2);
// The point `metres` away from (latitude, longitude) on the true bearing, in degrees.
void destination(double latitude, double longitude, double bearingDegrees, double metres, double& outLatitude,
                 double& outLongitude);

// The turn from `from` to `to`, in degrees, -180 .. 180 (positive to the right).
double turn(double from, double to);
double normalizedHeading(double degrees);

} // namespace Earth
