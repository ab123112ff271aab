#pragma once

#include "winsys/Types.h"

// What a user's keyboard and mouse do to the windows, as the original delivers it: the headless
// script's steps and test code call these, and so does a desktop backend for real input.
namespace win {

// Keyboard: the asynchronous state alone, or a key press sent to a window as WM_KEYDOWN/WM_KEYUP
// (with the previous state in bit 30 and the transition in bit 31 of lParam).
void setKeyDown(int virtualKey, bool down);
void sendKey(HWND window, int virtualKey, bool down);

// Mouse over a window, at a point of its client area: WM_NCHITTEST, WM_SETCURSOR and, over the
// client area, WM_MOUSEMOVE; the middle button; the wheel (WHEEL_DELTA per notch).
void moveMouse(HWND window, POINT client);
void pressMiddleButton(HWND window, bool down);
void turnWheel(HWND window, int delta);

// A window dragged by its caption to a new top-left corner: WM_ENTERSIZEMOVE, the move,
// WM_EXITSIZEMOVE.
void dragWindow(HWND window, int x, int y);
// The window's close box, or Esc in a dialog: a dialog gets WM_COMMAND IDCANCEL, any other window
// WM_CLOSE.
void closeWindow(HWND window);
// WM_ACTIVATE (WA_INACTIVE) to the window active before, WM_ACTIVATE (WA_ACTIVE) to this one.
void activate(HWND window);

} // namespace win
