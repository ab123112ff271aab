#pragma once

#include "winsys/model/WindowObject.h"

namespace win::model {

// The frame thickness of each side for the styles (see WindowApi.h).
RECT frameFor(DWORD style, DWORD exStyle);
// Width and height of the client area.
POINT clientSize(const WindowObject& window);

} // namespace win::model
