#pragma once

#include "winsys/Types.h"

// The window procedures of the standard and common controls.
namespace win::controls {

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TrackbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT UpDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT HotKeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TreeViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace win::controls
