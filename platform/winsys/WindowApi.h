#pragma once

#include <string>

#include "winsys/Messages.h"

// Windows: classes, creation, the chain of window procedures, messages, visibility and
// geometry, with the original platform's names and meanings.
//
// Geometry model: a top-level window's rectangle is in screen coordinates, a child's in its
// parent's client coordinates. The client area is the window rectangle minus a frame given by
// the styles when the frame was last calculated (creation, and every SetWindowPos/MoveWindow
// that moves or sizes the window or passes SWP_FRAMECHANGED; a style change alone does not
// recalculate it, as on the original):
//   WS_THICKFRAME 8 pixels on every side, else WS_DLGFRAME or WS_EX_DLGMODALFRAME 3, else
//   WS_BORDER 1; WS_EX_CLIENTEDGE adds 2; WS_CAPTION (both of its bits) adds a caption of 23
//   pixels at the top, 17 with WS_EX_TOOLWINDOW.
namespace win {

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    HINSTANCE hInstance = nullptr;
    HCURSOR hCursor = nullptr; // shown over the client area when WM_SETCURSOR reaches DefWindowProc
    std::string lpszClassName;
};

// WM_NCCREATE and WM_CREATE carry a pointer to this.
struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    int id = 0;
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    DWORD style = 0;
    std::string name;
    std::string className;
    DWORD dwExStyle = 0;
};

// Class names compare without regard to case. False when the name is taken or the procedure missing.
bool RegisterClass(const WNDCLASS& windowClass);
bool GetClassInfo(HINSTANCE instance, const std::string& className, WNDCLASS* windowClass);

// For a child (WS_CHILD) `parent` is required and `id` is its control id; for a top-level window
// a non-null `parent` makes its top-level ancestor the owner. The creation sends WM_NCCREATE
// (FALSE refuses the window), WM_CREATE (-1 refuses it) and, for a child without
// WS_EX_NOPARENTNOTIFY, WM_PARENTNOTIFY (WM_CREATE, id) to each ancestor. A top-level window
// created with WS_VISIBLE is shown at the end as by ShowWindow.
HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& title, DWORD style, int x,
                    int y, int width, int height, HWND parent, int id, HINSTANCE instance, void* param);
// Destroys the owned windows first, then sends WM_PARENTNOTIFY (WM_DESTROY) to the ancestors,
// WM_DESTROY to the window, destroys its children and ends with WM_NCDESTROY.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);

// Null class name or title matches any. FindWindow searches the top-level windows in creation
// order, FindWindowEx the children of `parent` (top-level windows when null) after `childAfter`.
// Class names and titles compare without regard to case.
HWND FindWindow(const char* className, const char* title);
HWND FindWindowEx(HWND parent, HWND childAfter, const char* className, const char* title);
// The parent of a child window, the owner of a top-level one.
HWND GetParent(HWND hwnd);
// Every descendant, parents before their children, in creation order; stops when the callback
// returns false.
using WNDENUMPROC = bool (*)(HWND, LPARAM);
bool EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam);

bool SetWindowText(HWND hwnd, const std::string& text); // WM_SETTEXT
std::string GetWindowText(HWND hwnd);                   // WM_GETTEXTLENGTH and WM_GETTEXT
int GetWindowTextLength(HWND hwnd);
std::string GetClassName(HWND hwnd); // as registered

LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value); // returns the previous value
// GCLP_WNDPROC changes the procedure that windows of the class created from now on start with.
LONG_PTR GetClassLongPtr(HWND hwnd, int index);
LONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value);

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// 0 when the window does not exist.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Queued until the backend pumps (headless: win::headless::pumpMessages); messages for a window
// destroyed in the meantime are dropped.
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Returns whether the window was visible before. Sends WM_SHOWWINDOW when the state changes.
bool ShowWindow(HWND hwnd, int command);
// True when the window and all its ancestors are visible.
bool IsWindowVisible(HWND hwnd);
// Returns whether the window was disabled before. Sends WM_ENABLE when the state changes.
bool EnableWindow(HWND hwnd, bool enable);
bool IsWindowEnabled(HWND hwnd);
// Sends WM_KILLFOCUS to the window losing the focus and WM_SETFOCUS to the one getting it.
HWND SetFocus(HWND hwnd);
HWND GetFocus();

bool GetWindowRect(HWND hwnd, RECT* rect); // screen coordinates
bool GetClientRect(HWND hwnd, RECT* rect); // left and top are 0
// The z-order is not modelled. A top-level window is never larger than the virtual screen (the
// original's default maximum tracking size). Sends WM_MOVE (client origin) and WM_SIZE (client
// size) when they change.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);
// Grows a client rectangle to the window rectangle the styles need (a menu bar takes no room here).
bool AdjustWindowRectEx(RECT* rect, DWORD style, DWORD exStyle);
bool ClientToScreen(HWND hwnd, POINT* point);
bool ScreenToClient(HWND hwnd, POINT* point);

// Painting: a window whose client area was invalidated gets WM_PAINT from UpdateWindow, and
// before its pixels are read (a capture sees the window's latest picture). The rectangle is not
// modelled: the whole client area is painted.
bool InvalidateRect(HWND hwnd, const RECT* rect, bool erase);
bool UpdateWindow(HWND hwnd);

// SM_CXSCREEN, SM_CYSCREEN and the virtual screen (76 to 79) from the backend; 0 for others.
int GetSystemMetrics(int index);

} // namespace win
