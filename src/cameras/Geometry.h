#pragma once

#include <array>

// The geometry every camera and the player share: rotation matrices from attitude angles, the
// local offset between two world positions and angle wrapping. Single precision throughout, except
// world positions, which need doubles to resolve metres on the globe.
namespace Geometry {

// Local frame at a world position: x = east, y = up, z = north, in metres.
struct Vec3 {
    float x, y, z;
};

// Row-major: element (r, c) at index 3r + c.
struct Mat3 {
    std::array<float, 9> m;
};

// Latitude and longitude in radians, altitude in metres (the order of the camera view's fields).
struct WorldPosition {
    double latitude, longitude, altitude;
};

// Radians. Heading counts from north toward east; a positive pitch turns the forward axis down.
struct Attitude {
    float pitch, bank, heading;
};

// Every angle stored in degrees in the settings and camera files is converted with this factor.
constexpr float kDegreesToRadians = 0.017453292f;

// Metres per radian along a meridian, and along a parallel at the equator.
constexpr double kMeridianRadius = 6367311.808277457;
constexpr double kEquatorRadius = 6378134.344407706;

// Radians per metre north and (at the equator) east, for turning local offsets back into positions.
constexpr float kRadiansPerMetreNorth = 1.5705214e-07f;
constexpr float kRadiansPerMetreEast = 1.5678566e-07f;

// Maps a vector given in the rotated (body or view) frame into the local frame; the forward axis
// (0, 0, 1) becomes (cos p · sin h, −sin p, cos p · cos h).
Mat3 rotation(float pitch, float bank, float heading);
Mat3 rotation(const Attitude& attitude);

Vec3 multiply(const Mat3& matrix, const Vec3& vector);
Mat3 multiply(const Mat3& left, const Mat3& right);

// In place; for a rotation this is its inverse.
void transpose(Mat3& matrix);

Vec3 rotate(const Vec3& vector, float pitch, float bank, float heading);
void rotate(float& x, float& y, float& z, float pitch, float bank, float heading);

// In each column triple (0,3,6), (4,7,1), (8,2,5) the element of largest magnitude becomes ±1 with
// its sign (0 counts as positive) and the other two 0; on ties the earlier element wins.
void snapToAxes(Mat3& matrix);

// The rotation from attitude1 into the frame of attitude2 (R2ᵀ·R1), snapped to the axes.
Mat3 relativeRotation(const Attitude& attitude1, const Attitude& attitude2);

// The straight-line distance in metres from `from` to `to`, the short way round in longitude.
// `angles` (bank 0) looks from `from` toward `to`; `offset` is `to` in the local frame at `from`.
// Either may be null.
float localOffset(const WorldPosition& from, const WorldPosition& to, Attitude* angles = nullptr,
                  Vec3* offset = nullptr);

// Pulls `position` straight toward `centre` until it is no more than maxDistance away (measured
// from the centre). Returns the distance after the move.
float limitDistance(WorldPosition& position, const WorldPosition& centre, float maxDistance);

// The position a local offset (metres) away from `base`.
WorldPosition offsetToPosition(const WorldPosition& base, float east, float up, float north);

// Into [−π, π] with π kept as π: the filters' angles.
double wrapAngle(double angle);

// Into [−π, π), with π becoming −π: view angles.
float wrapViewAngle(float angle);

} // namespace Geometry
