#pragma once

#include <string>

// Asks the user whether a first-generation recording may be converted, and converts it on Yes.
// Returns whether the file may now be opened; a failed conversion is shown and answers false.
bool askConvertOldFile(const std::string& path);
