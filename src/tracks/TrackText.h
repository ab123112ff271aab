#pragma once

#include <ostream>
#include <string>
#include <string_view>

// Numbers, times and names as the track formats write them, appended to a text: whatever the
// locale, fast enough for millions of points.

// "47.12345678" for 8 decimals; no "-0.000".
void appendFixed(std::string& out, double value, int decimals);
// "2024-05-01T08:00:01Z", or "...:01.500Z" where the time has a fraction of a second (to the
// millisecond).
void appendIsoTime(std::string& out, double time);
// The text with &, <, >, " and ' written as XML entities, and control characters left out.
std::string xmlEscaped(std::string_view text);

// Writes `text` to `out` once it holds a block's worth, and empties it; with `force`, whatever it holds.
void flushText(std::string& text, std::ostream& out, bool force = false);
