#pragma once

#include "winsys/Messages.h"
#include "winsys/WindowApi.h"

// What the desktop widgets read of a model window's styles.
namespace desktop {

// The style bits (GWL_STYLE), or the extended ones (GWL_EXSTYLE).
inline win::DWORD windowStyle(win::HWND hwnd, int index = win::GWL_STYLE) {
    return static_cast<win::DWORD>(win::GetWindowLongPtr(hwnd, index));
}

// The top-level window that the window is or lies in.
inline win::HWND topLevelOf(win::HWND hwnd) {
    while (hwnd != nullptr && (windowStyle(hwnd) & win::WS_CHILD) != 0)
        hwnd = win::GetParent(hwnd);
    return hwnd;
}

} // namespace desktop
