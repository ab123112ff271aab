#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <vector>

#include "winsys/Menus.h"

// GTK menus made from the window model's menus, with their enabled and checked states.
namespace desktop {

using MenuChosen = std::function<void(win::UINT command)>;

// Fills `shell` (a menu bar or a menu) with the items, the menus their items open below them;
// choosing a command calls `chosen` with it. The callback lives as long as the shell.
void fillMenu(GtkWidget* shell, const std::vector<win::MenuItem>& items, const MenuChosen& chosen);

// The items of a menu of the model; none for a handle that names no menu.
std::vector<win::MenuItem> menuItems(win::HMENU menu);

} // namespace desktop
