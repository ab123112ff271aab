#pragma once

#include <optional>
#include <string>
#include <vector>

// The playback speed steps: stored with '|' between values, edited with ';'.
namespace SpeedList {

constexpr char kFileSeparator = '|';
constexpr char kDialogSeparator = ';';

std::vector<double> defaults();

// Splits and rounds each value to a multiple of 1/256; empty unless the list is valid: every value
// within 0.03 .. 100, strictly ascending, and one of them exactly 1.
std::optional<std::vector<double>> parse(const std::string& text, char separator);

std::string format(const std::vector<double>& speeds, char separator);

} // namespace SpeedList
