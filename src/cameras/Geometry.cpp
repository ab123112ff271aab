#include "cameras/Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace Geometry {

namespace {

// The column triples of a relative rotation, each starting at its diagonal element.
constexpr std::array<std::array<std::size_t, 3>, 3> kAxisTriples{{{0, 3, 6}, {4, 7, 1}, {8, 2, 5}}};

// Below this cos(latitude) an eastward offset no longer names a longitude (at the poles).
constexpr double kMinParallelScale = 1e-9;

// Brings an angle into [−π, π] by whole turns; at π itself `keepPi` decides whether it stays. The
// remainder comes first so that a value many turns out (or not finite) cannot keep the loops going.
template <typename T>
T wrap(T angle, bool keepPi) {
    constexpr T pi = std::numbers::pi_v<T>;
    constexpr T turn = 2 * pi;
    angle = std::fmod(angle, turn);
    while (angle < -pi)
        angle += turn;
    while (keepPi ? angle > pi : angle >= pi)
        angle -= turn;
    return angle;
}

void snapToAxis(Mat3& matrix, const std::array<std::size_t, 3>& triple) {
    auto& m = matrix.m;
    std::size_t largest = triple[0];
    for (std::size_t index : triple)
        if (std::fabs(m[index]) > std::fabs(m[largest]))
            largest = index;
    for (std::size_t index : triple)
        m[index] = index != largest ? 0.0f : m[index] >= 0 ? 1.0f : -1.0f;
}

} // namespace

Mat3 rotation(float pitch, float bank, float heading) {
    const float sp = std::sin(pitch), cp = std::cos(pitch);
    const float sb = std::sin(bank), cb = std::cos(bank);
    const float sh = std::sin(heading), ch = std::cos(heading);
    return Mat3{{sp * sb * sh + cb * ch, sp * cb * sh - sb * ch, cp * sh, //
                 cp * sb, cp * cb, -sp,                                  //
                 sp * sb * ch - cb * sh, sp * cb * ch + sb * sh, cp * ch}};
}

Mat3 rotation(const Attitude& attitude) { return rotation(attitude.pitch, attitude.bank, attitude.heading); }

Vec3 multiply(const Mat3& matrix, const Vec3& vector) {
    const auto& m = matrix.m;
    return Vec3{m[0] * vector.x + m[1] * vector.y + m[2] * vector.z,
                m[3] * vector.x + m[4] * vector.y + m[5] * vector.z,
                m[6] * vector.x + m[7] * vector.y + m[8] * vector.z};
}

Mat3 multiply(const Mat3& left, const Mat3& right) {
    Mat3 product{};
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 3; ++c)
            product.m[3 * r + c] = left.m[3 * r] * right.m[c] + left.m[3 * r + 1] * right.m[3 + c] +
                                   left.m[3 * r + 2] * right.m[6 + c];
    return product;
}

void transpose(Mat3& matrix) {
    std::swap(matrix.m[1], matrix.m[3]);
    std::swap(matrix.m[2], matrix.m[6]);
    std::swap(matrix.m[5], matrix.m[7]);
}

Vec3 rotate(const Vec3& vector, float pitch, float bank, float heading) {
    return multiply(rotation(pitch, bank, heading), vector);
}

void rotate(float& x, float& y, float& z, float pitch, float bank, float heading) {
    const Vec3 rotated = rotate(Vec3{x, y, z}, pitch, bank, heading);
    x = rotated.x;
    y = rotated.y;
    z = rotated.z;
}

void snapToAxes(Mat3& matrix) {
    for (const auto& triple : kAxisTriples)
        snapToAxis(matrix, triple);
}

Mat3 relativeRotation(const Attitude& attitude1, const Attitude& attitude2) {
    Mat3 inverse2 = rotation(attitude2);
    transpose(inverse2);
    Mat3 relative = multiply(inverse2, rotation(attitude1));
    snapToAxes(relative);
    return relative;
}

float localOffset(const WorldPosition& from, const WorldPosition& to, Attitude* angles, Vec3* offset) {
    // Longitudes on both sides of ±180° are near neighbours, not half a globe apart.
    const double dLon = wrapAngle(to.longitude - from.longitude);
    const double east = std::cos(from.latitude) * dLon * kEquatorRadius;
    const double up = to.altitude - from.altitude;
    const double north = (to.latitude - from.latitude) * kMeridianRadius;
    if (offset != nullptr)
        *offset = Vec3{static_cast<float>(east), static_cast<float>(up), static_cast<float>(north)};
    if (angles != nullptr)
        *angles = Attitude{static_cast<float>(std::atan2(-up, std::hypot(north, east))), 0.0f,
                           static_cast<float>(std::atan2(east, north))};
    return static_cast<float>(std::sqrt(north * north + up * up + east * east));
}

float limitDistance(WorldPosition& position, const WorldPosition& centre, float maxDistance) {
    // Measured from the centre, the distance scales exactly with the three differences.
    const float distance = localOffset(centre, position);
    const float limit = std::max(maxDistance, 0.0f);
    if (!(distance > limit))
        return distance;
    const double keep = static_cast<double>(limit) / static_cast<double>(distance);
    position.latitude = centre.latitude + (position.latitude - centre.latitude) * keep;
    position.longitude = wrapAngle(centre.longitude + wrapAngle(position.longitude - centre.longitude) * keep);
    position.altitude = centre.altitude + (position.altitude - centre.altitude) * keep;
    return limit;
}

WorldPosition offsetToPosition(const WorldPosition& base, float east, float up, float north) {
    const double parallelScale = std::cos(base.latitude);
    const double dLon = std::fabs(parallelScale) > kMinParallelScale
                            ? static_cast<double>(east) * kRadiansPerMetreEast / parallelScale
                            : 0.0;
    return WorldPosition{base.latitude + static_cast<double>(north) * kRadiansPerMetreNorth,
                         wrapAngle(base.longitude + dLon), base.altitude + static_cast<double>(up)};
}

double wrapAngle(double angle) { return wrap(angle, true); }

float wrapViewAngle(float angle) { return wrap(angle, false); }

} // namespace Geometry
