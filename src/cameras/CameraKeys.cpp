#include "cameras/CameraKeys.h"

#include "cameras/Geometry.h"
#include "profile/ProfileValues.h"

namespace CameraKeys {

float degreesOf(float radians, bool negated) {
    return (negated ? -radians : radians) / Geometry::kDegreesToRadians;
}

float radiansOf(float degrees, bool negated) {
    return (negated ? -degrees : degrees) * Geometry::kDegreesToRadians;
}

float readAngle(const std::string& file, const std::string& section, const char* key, bool negated) {
    return radiansOf(static_cast<float>(profile::readFloat(file, section.c_str(), key, 0)), negated);
}

void writeAngle(const std::string& file, const std::string& section, const char* key, float radians, bool negated) {
    profile::writeFloat(file, section.c_str(), key, degreesOf(radians, negated), 1);
}

void readFocus(const std::string& file, const std::string& section, float focus[3]) {
    const char* const keys[] = {"FocusX", "FocusY", "FocusZ"};
    for (int i = 0; i < 3; ++i)
        focus[i] = static_cast<float>(profile::readFloat(file, section.c_str(), keys[i], 0));
}

void writeFocus(const std::string& file, const std::string& section, const float focus[3]) {
    const char* const keys[] = {"FocusX", "FocusY", "FocusZ"};
    for (int i = 0; i < 3; ++i)
        profile::writeFloat(file, section.c_str(), keys[i], focus[i], 3);
}

} // namespace CameraKeys
