#pragma once

#include <string>
#include <string_view>

// Writes the bytes to a new file in the same folder and renames it over `path` only once it is
// complete and on the disk, so that a crash or a full disk leaves either the old file or the new
// one, never a part of one. The file keeps the permissions of the one it replaces; a link is
// followed and its target replaced. XmlError when it fails; the new file is then gone again.
void replaceFile(const std::string& path, std::string_view bytes);
