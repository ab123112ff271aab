#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text from a recording (track titles, marker names) as the picture may show it. Cairo's text
// functions refuse the whole call on a byte sequence that is not UTF-8, and the file holds
// whatever the aircraft or the user named: invalid sequences become '?', control characters
// spaces, and text longer than `maxCharacters` ends in "...".
std::string drawableText(std::string_view text, std::size_t maxCharacters);
