#pragma once

#include <cstdint>

// The original platform's private-profile (INI) functions, with their arguments, results and
// buffer rules. Every call sees the file as it is on disk, and every write rewrites it; a parse is
// reused only while the file's status shows it unchanged (profile/DocumentCache.h). A NULL or
// empty file name, like a missing file, reads as empty. Section and key names ignore case and
// surrounding spaces; only the first section of a name counts.
namespace win {

// The value as an optionally signed decimal number, up to its first other character, modulo
// 2^32; text that does not start with a digit is 0. A missing or empty value gives the default,
// as does a NULL section or key (there is no number in a list of names).
uint32_t GetPrivateProfileIntA(const char* section, const char* key, int32_t defaultValue, const char* file);

// Copies the value, or the default (NULL as "", trailing spaces removed) when the file, section or
// key is missing, truncated to size - 1 characters and NUL-terminated; returns the length copied.
// A NULL section lists the section names, a NULL key the section's key names, each name followed
// by a NUL and the list by another one. A list that does not fit with a byte to spare is cut to
// size - 2 bytes and still ends in two NULs, and size - 2 is returned. An empty list is one NUL.
// Size 0 leaves the buffer alone.
uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                  char* buffer, uint32_t size, const char* file);

// Sets a key, creating the file, the section and the key as needed; a NULL value deletes the key
// and a NULL key the whole section (its comment lines stay). The value is written as given; the
// names lose their surrounding spaces and keep the spelling already in the file. Fails, changing
// nothing, for a NULL section, a name or value with a line break, or a file that cannot be
// written.
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* file);

} // namespace win
