#pragma once

#include "winsys/Types.h"

class HostMenus;

// The host's menus as the main window's menu bar in the window system, which is what a backend
// with a screen shows and clicks: texts, commands, separators, submenus, enabled and checked
// states. Built whole anew; the bar it replaces is destroyed.
void mirrorMenuBar(const HostMenus& menus, win::HWND window);
