#pragma once

#include <optional>
#include <string>
#include <vector>

// The speeds list as the settings dialog takes it (';' between values): an invalid one is refused
// with a message box that says what a valid list looks like.
std::optional<std::vector<double>> acceptSpeedsFromDialog(const std::string& text);
