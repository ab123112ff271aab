#pragma once

#include <string_view>

#include "common/Marker.h"
#include "converter/ImportEncoding.h"

// A "$" line of the recording text: a setting for the data lines that follow, or a marker.
struct TextCommand {
    enum Kind { Offset, TimeOffset, Interval, AddMarker };
    Kind kind = Offset;
    ImportEncoding::Offset offset;
    double seconds = 0; // TimeOffset, Interval
    Marker marker;
};

// Reads a line that starts with "$" (given without its line end). Throws ConversionError with the
// entry's own text ("Invalid offset entry: " + line, ...).
TextCommand readTextCommand(std::string_view line);
