#pragma once

#include <optional>
#include <string_view>

// A decimal number as track files write them ("47.5", " -3 ", "+8.5", "1e3"), whatever the
// locale, into `number`; false, with `number` as it was, for anything else, infinities and NaN
// included.
bool readDecimal(std::string_view text, double& number);

// The same as an optional, nothing for what is no number.
inline std::optional<double> decimalNumber(std::string_view text) {
    double number = 0;
    return readDecimal(text, number) ? std::optional<double>(number) : std::nullopt;
}
