#pragma once

#include <cstdint>

#include "winsys/Types.h"

// Where the host binding meets the module's view tracking and camera input: the host events of
// the view passes and view commands, and the window procedure of the 3D view windows.
namespace ViewHooks {

// Host event handlers (host event number, then the event's two arguments).
void cameraUpdate(uint32_t event, uintptr_t a, uintptr_t b);  // 17
void viewPassStart(uint32_t event, uintptr_t a, uintptr_t b); // 21
void viewPassEnd(uint32_t event, uintptr_t a, uintptr_t b);   // 22
void viewCommand(uint32_t event, uintptr_t a, uintptr_t b);   // 9: a = command, b = ZHostCommand*

// The class procedure of "FS98CHILD" once the main window has seen one created; it ends in the
// class's previous procedure.
win::LRESULT viewWindowProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);

} // namespace ViewHooks
