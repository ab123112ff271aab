#pragma once

#include <string>

// A conversion failure the user is told about in words of its own (a bad line, a file that
// cannot be opened). Every other exception leaving a conversion is reported as unexpected.
struct ConversionError {
    std::string message;
};
