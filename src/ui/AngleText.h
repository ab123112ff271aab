#pragma once

#include <optional>
#include <string>

// Latitudes and longitudes as the tower camera dialog shows them: decimal degrees, degrees with
// decimal minutes, or degrees, minutes and decimal seconds.
namespace AngleText {

enum class Format { Degrees, Minutes, Seconds };

// The button's text for the format: the degree sign, then with an apostrophe, then with a
// quotation mark as well.
const char* symbol(Format format);
Format next(Format format);
std::string format(double degrees, Format format);
// Any of the three forms (the numbers in order, the sign on the first); nullopt for text that holds
// no number or numbers out of range (minutes or seconds of 60 or more).
std::optional<double> parse(const std::string& text);

} // namespace AngleText
