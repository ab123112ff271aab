#pragma once

#include <string>

// A conversion failure the user is told about in words of its own (a bad line, a file that
// cannot be opened). A ZephrelException leaving a conversion is told by its own text and code
// (converter/FileFailure.h); anything else is unexpected.
struct ConversionError {
    std::string message;
};
