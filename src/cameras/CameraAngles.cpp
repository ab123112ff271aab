#include "cameras/CameraAngles.h"

#include <algorithm>
#include <cmath>

namespace CameraAngles {

void normalise(float& pitch, float& bank, float& heading) {
    pitch = std::clamp(pitch, -kPitchLimit, kPitchLimit);
    bank = Geometry::wrapViewAngle(bank);
    heading = Geometry::wrapViewAngle(heading);
}

Geometry::Attitude levelOf(const Geometry::Mat3& rotation) {
    const auto& m = rotation.m;
    return {std::asin(std::clamp(-m[5], -1.0f, 1.0f)), 0.0f, std::atan2(m[2], m[8])};
}

Geometry::Attitude along(float x, float y, float z) {
    return {-std::atan2(y, std::sqrt(x * x + z * z)), 0.0f, std::atan2(x, z)};
}

} // namespace CameraAngles
