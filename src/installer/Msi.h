#pragma once

#include <cstdint>

// The part of the Windows Installer's interface that the custom actions use: the handle of the
// running installation, the two property functions and their result codes. The original takes
// the functions from msi.dll by ordinal (74 reads a property, 145 sets one); here the
// installer-session library (InstallerSession.h) provides them by name. Text is UTF-8 and
// lengths count its bytes.

using MSIHANDLE = uint32_t;

constexpr uint32_t ERROR_SUCCESS = 0;
constexpr uint32_t ERROR_INVALID_HANDLE = 6;
constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr uint32_t ERROR_MORE_DATA = 234;
// What a custom action returns when it failed.
constexpr uint32_t ERROR_FUNCTION_NOT_CALLED = 1626;

extern "C" {

// Copies the property's value, with its terminating NUL, into `value`, which holds `*capacity`
// bytes, and sets `*capacity` to the value's length without the NUL. A property never set reads
// as "". When the value does not fit, `value` gets as much as fits and ERROR_MORE_DATA is
// returned; a null `value` asks for the length alone.
uint32_t MsiGetProperty(MSIHANDLE install, const char* name, char* value, uint32_t* capacity);

// Sets the property; a null or empty value removes it.
uint32_t MsiSetProperty(MSIHANDLE install, const char* name, const char* value);
}
