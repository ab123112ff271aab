#pragma once

#include <string>

// Reads recording text (as the export writes it, or as a person or another program writes it)
// into a recording file. Failures: ConversionError with the offending line's message, or
// ZephrelException from the recording; either way no output file is left behind.
void importText(const std::string& inputPath, const std::string& outputPath, bool altitudeInMeters);
