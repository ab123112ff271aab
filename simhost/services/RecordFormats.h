#pragma once

#include <cstdint>

// The flight data record's fixed-point position and attitude formats, as the simulator's
// position block (ZHostPosition) carries them, to and from degrees and metres.
namespace RecordFormats {

double latitudeDegrees(int64_t latitude);
int64_t latitudeFromDegrees(double degrees);
double longitudeDegrees(int64_t longitude);
int64_t longitudeFromDegrees(double degrees); // any angle, taken modulo 360
double altitudeMetres(int64_t altitude);
int64_t altitudeFromMetres(double metres);
// Angles are full turns over 2^32; as unsigned words 0 .. 360, as signed ones -180 .. 180.
double angleDegrees(uint32_t angle);
double signedAngleDegrees(int32_t angle);
uint32_t angleFromDegrees(double degrees); // any angle, taken modulo 360

} // namespace RecordFormats
