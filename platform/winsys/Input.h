#pragma once

#include "winsys/Types.h"

// Keyboard state and the mouse cursor.
namespace win {

// Bit 15 set while the key is down.
int16_t GetAsyncKeyState(int virtualKey);

bool GetCursorPos(POINT* point); // screen coordinates
bool SetCursorPos(int x, int y);
// The cursor is shown while the display count is 0 or more; returns the new count.
int ShowCursor(bool show);
// Returns the previous cursor.
HCURSOR SetCursor(HCURSOR cursor);
// Only the standard cursors (instance nullptr, IDC_ARROW, IDC_CROSS); nullptr for others.
HCURSOR LoadCursor(HINSTANCE instance, int cursorId);

} // namespace win
