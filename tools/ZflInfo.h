#pragma once

#include <ostream>
#include <string>

// Prints what a recording holds: format version, each track with its data groups, record counts,
// time range and digest state, and each marker. Throws ZephrelException when the file cannot be read.
void printRecordingInfo(std::ostream& out, const std::string& path);
