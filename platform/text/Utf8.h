#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8, the text of every string inside the program, one code point at a time.

// Appends the code point's UTF-8 bytes.
void appendUtf8(std::string& out, char32_t point);

// The code point that starts at `at`, which is moved past it; nothing, with `at` left where it
// was, for a malformed, overlong or truncated sequence, a surrogate or a value beyond U+10FFFF.
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& at);
