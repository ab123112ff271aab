#pragma once

#include <string>

// The file keys the cameras share: angles in degrees with one decimal (pitch and bank mostly stored
// negated), the focus point in metres with three decimals.
namespace CameraKeys {

float readAngle(const std::string& file, const std::string& section, const char* key, bool negated);
void writeAngle(const std::string& file, const std::string& section, const char* key, float radians, bool negated);
void readFocus(const std::string& file, const std::string& section, float focus[3]);
void writeFocus(const std::string& file, const std::string& section, const float focus[3]);
// The angle as the file and the dialog show it, and back.
float degreesOf(float radians, bool negated);
float radiansOf(float degrees, bool negated);

} // namespace CameraKeys
