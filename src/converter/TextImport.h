#pragma once

#include <string>

#include "converter/SkippedLines.h"

// Reads recording text (as the export writes it, or as a person or another program writes it)
// into a recording file, and tells which data lines it left out. Failures: ConversionError with
// the offending line's message, or ZephrelException from the recording; either way no output
// file is left behind.
SkippedLines importText(const std::string& inputPath, const std::string& outputPath, bool altitudeInMeters);
