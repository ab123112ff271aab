#pragma once

#include <string>

#include "settings/Settings.h"

// Where the module keeps its temporary files: TempDirectory, or the system's folder for temporary
// files when that is empty. Returns the path of `name` in it.
std::string tempPath(const GeneralSettings& settings, const std::string& name);
