#pragma once

#include <optional>
#include <string>

class Simulator;

// Chooses an item of the main window's menus by its item texts from the menu bar down, joined
// by '/' ("Zephrel/Record..."). Answers what stood in the way, nothing when the item was chosen.
// The simulator's menus are not built yet, so until they are every path answers
// "no menu item ...".
std::optional<std::string> chooseMenuItem(Simulator& simulator, const std::string& path);
