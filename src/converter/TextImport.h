#pragma once

#include <string>

#include "converter/SkippedLines.h"

// Reads recording text (as the export writes it, or as a person or another program writes it)
// into a recording file, and tells which data lines it left out. Failures: ConversionError with
// the offending line's message, or when the output is the input or a file cannot be opened, read
// or written (with the system's reason); ZephrelException for a misuse of the recording. Either
// way no output file is left behind.
SkippedLines importText(const std::string& inputPath, const std::string& outputPath, bool altitudeInMeters);
