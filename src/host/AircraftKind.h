#pragma once

#include <string_view>

// What the module needs to know of the user aircraft's kind when it is loaded.
namespace AircraftKind {

// The category text is "Helicopter" in any case.
bool isHelicopter(std::string_view category);
// A Level-D 767: the title names "Level D", "Level-D" or "LevelD" and "767" (exact case). Its
// lights are read and written through its own panel variables.
bool isLevelD767(std::string_view title);

} // namespace AircraftKind
