#pragma once

#include "cameras/Geometry.h"

// The view-angle rules every camera kind shares.
namespace CameraAngles {

constexpr float kPitchLimit = 1.5707964f;

// Pitch within ±π/2, bank and heading wrapped into [−π, π).
void normalise(float& pitch, float& bank, float& heading);
// The attitude of a rotation matrix with the bank left out: pitch asin(−R(1,2)), heading
// atan2(R(0,2), R(2,2)).
Geometry::Attitude levelOf(const Geometry::Mat3& rotation);
// The look along a direction (x right, y up, z ahead): pitch −atan2(y, √(x² + z²)), heading atan2(x, z).
Geometry::Attitude along(float x, float y, float z);

} // namespace CameraAngles
