#pragma once

#include <string>

// Writes a small but complete recording: three aircraft with different data groups (two of them
// digested as this program's own recordings) and one marker of every kind.
void writeSampleRecording(const std::string& path);
