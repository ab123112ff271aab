#pragma once

#include <optional>
#include <string_view>

// A decimal number as track files write them ("47.5", " -3 ", "+8.5", "1e3"), whatever the
// locale; nullopt for anything else, infinities and NaN included.
std::optional<double> decimalNumber(std::string_view text);
