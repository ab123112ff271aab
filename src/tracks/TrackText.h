#pragma once

#include <string>
#include <string_view>

// Numbers, times and names as the track formats write them: whatever the locale, with the places
// to a millimetre.

// "47.12345678": degrees with eight decimals (about a millimetre).
std::string degreesText(double degrees);
// "420.250": metres, or any other value, with three decimals.
std::string millesimalText(double value);
// "2024-05-01T08:00:01Z", or "...:01.500Z" where the time has a fraction of a second (to the
// millisecond).
std::string isoTimeText(double time);
// The text with &, <, >, " and ' written as XML entities, and control characters left out.
std::string xmlEscaped(std::string_view text);
