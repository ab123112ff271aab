#pragma once

#include <cstdint>
#include <string>

#include "system/Guid.h"

// Typed settings over the profile functions: each read returns the default when the file, the
// section or the key is missing, and each write returns false when the file cannot be written.
namespace profile {

// The profile-integer reading: "-1" is -1, "12abc" is 12, "abc" is 0.
int32_t readInt(const std::string& file, const char* section, const char* key, int32_t def);
// True when the integer value is > 0, so "-1" reads as false.
bool readBool(const std::string& file, const char* section, const char* key, bool def);
// The first 31 characters of the value as a decimal number, whatever the C locale. An empty value
// gives the default; text that does not start with a decimal number, or whose number is out of
// range, is 0 (as the original's atof gives it); "1.5kg" is 1.5.
double readFloat(const std::string& file, const char* section, const char* key, double def);
// The whole value, of any length.
std::string readString(const std::string& file, const char* section, const char* key, const std::string& def);
// A new random identifier when the key is missing or does not hold one.
Guid readGuid(const std::string& file, const char* section, const char* key);

bool writeInt(const std::string& file, const char* section, const char* key, int32_t value);
bool writeBool(const std::string& file, const char* section, const char* key, bool value); // "1" or "0"
// Fixed-point text with six decimals when decimals < 0 ("%f"), else with that many.
bool writeFloat(const std::string& file, const char* section, const char* key, double value,
                int decimals = -1);
bool writeString(const std::string& file, const char* section, const char* key, const std::string& value);
bool writeGuid(const std::string& file, const char* section, const char* key, const Guid& value);
// Removes the section with its keys wherever it appears; true when there is none.
bool deleteSection(const std::string& file, const char* section);

} // namespace profile
