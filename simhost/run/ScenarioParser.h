#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "run/Scenario.h"

// Reads a scenario (docs/simhost/scenario.md). Throws ScenarioError for the first line that
// cannot be read. Relative paths of the settings are taken in `baseFolder` when it is given.
Scenario parseScenario(std::string_view text, const std::string& baseFolder = {});

// Reads the scenario file; its relative paths are taken in the file's folder.
Scenario loadScenario(const std::string& path);

namespace scenario {
constexpr std::size_t kMaxActions = 100000;
constexpr std::size_t kMaxLines = 1000000;
constexpr std::size_t kMaxFileBytes = 16u << 20;
constexpr double kMaxTime = 1e7; // seconds
} // namespace scenario
