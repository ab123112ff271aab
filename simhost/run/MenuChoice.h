#pragma once

#include <optional>
#include <string>

class Simulator;

// Chooses an item of the main window's menus by its item texts from the menu bar down, joined
// by '/' ("Zephrel/Record..."), as a user clicks it: the main window gets WM_COMMAND with the
// item's command (lParam 0), through whatever hooks add-ons put on it. Answers what stood in the
// way, nothing when the item was chosen: `no menu item "PATH"`, `menu item "PATH" is disabled`
// (PATH up to the disabled item, which may be a menu on the way) or `menu item "PATH" opens a
// menu`.
std::optional<std::string> chooseMenuItem(Simulator& simulator, const std::string& path);
