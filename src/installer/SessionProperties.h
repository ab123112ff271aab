#pragma once

#include <cstdint>
#include <string>

#include "installer/Msi.h"

// An installer property as a custom action reads it: into a buffer of `capacity` bytes, the
// terminating NUL included.
struct PropertyRead {
    const char* name;
    uint32_t capacity;
};

// The value. A value that does not fit is refused rather than cut, so that an action never acts
// on a shortened name or path: std::runtime_error, as for any other failure.
std::string readProperty(MSIHANDLE install, const PropertyRead& property);

// std::runtime_error when it fails.
void setProperty(MSIHANDLE install, const char* name, const char* value);
