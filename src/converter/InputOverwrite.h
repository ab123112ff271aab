#pragma once

#include <string>

// ConversionError, before anything is written, when the output is the input file itself (under
// any spelling or link): writing it would replace what is being converted.
void refuseToOverwriteInput(const std::string& inputPath, const std::string& outputPath);
