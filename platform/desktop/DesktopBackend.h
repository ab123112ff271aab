#pragma once

#include <memory>

#include "winsys/Backend.h"

// The window system on a real desktop through GTK 3: the model's windows and dialogs as GTK
// windows and widgets, GTK's message boxes, file choosers and menus, and sound through SDL.
namespace desktop {

// Connects to the display (DISPLAY or WAYLAND_DISPLAY); false when there is none to show windows on.
bool openDisplay();

// Call openDisplay() first; then win::SetBackend(makeDesktopBackend()).
std::unique_ptr<win::Backend> makeDesktopBackend();

} // namespace desktop
