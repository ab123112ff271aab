#pragma once

#include <string>

// Writes a recording as text: per track its header lines, a column header and one line per
// continuous record, then the markers. Failures: ConversionError when the output is the input, or
// a file cannot be opened or written (with the system's reason); ZephrelException when reading the
// recording fails. The output appears only when complete.
void exportText(const std::string& inputPath, const std::string& outputPath, bool altitudeInMeters);
