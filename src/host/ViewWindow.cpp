// The 3D view windows ("FS98CHILD") as the module hooks their class: the middle button always,
// and while the module has the mouse captured for a camera, moves, wheel and the cursor. Also
// the cursor position the cameras read and set, relative to the main window's client area.

#include <algorithm>
#include <cmath>

#include "host/FSinterface.h"
#include "host/HostState.h"
#include "host/ViewHooks.h"
#include "winsys/Input.h"
#include "winsys/Messages.h"
#include "winsys/WindowApi.h"

namespace {

// The main window's client size; false while it has no area to measure against.
bool clientSize(const HostState& s, int& width, int& height) {
    win::RECT client{};
    if (s.mainWindow == nullptr || !win::GetClientRect(s.mainWindow, &client))
        return false;
    width = client.right - client.left;
    height = client.bottom - client.top;
    return width > 0 && height > 0;
}

// The cursor in the main window's client area, −1 … 1 across it and 1 … −1 down it (beyond
// those outside it).
bool cursorPosition(const HostState& s, float& x, float& y) {
    int width = 0, height = 0;
    win::POINT cursor{};
    if (!clientSize(s, width, height) || !win::GetCursorPos(&cursor) || !win::ScreenToClient(s.mainWindow, &cursor))
        return false;
    x = 2.0f * static_cast<float>(cursor.x) / static_cast<float>(width) - 1;
    y = 1 - 2.0f * static_cast<float>(cursor.y) / static_cast<float>(height);
    return true;
}

void moveCursor(const HostState& s, float x, float y) {
    int width = 0, height = 0;
    if (!clientSize(s, width, height))
        return;
    win::POINT to{static_cast<int>(std::trunc((x + 1) / 2 * static_cast<float>(width) + 0.5f)),
                  static_cast<int>(std::trunc((1 - y) / 2 * static_cast<float>(height) + 0.5f))};
    if (win::ClientToScreen(s.mainWindow, &to))
        win::SetCursorPos(to.x, to.y);
}

// Only while the mouse is captured; 0 leaves the message to the class's own procedure.
bool capturedMouse(win::UINT message, win::WPARAM wParam, win::LRESULT& result) {
    HostState& s = hostState();
    switch (message) {
    case win::WM_MOUSEMOVE: {
        float x = 0, y = 0;
        if (cursorPosition(s, x, y)) {
            x = std::clamp(x, -1.0f, 1.0f);
            y = std::clamp(y, -1.0f, 1.0f);
            FSinterface::callback(MouseMove, reinterpret_cast<intptr_t>(&x), reinterpret_cast<intptr_t>(&y));
        }
        result = 0;
        return true;
    }
    case win::WM_SETCURSOR:
        win::SetCursor(win::LoadCursor(nullptr, win::IDC_CROSS));
        result = 1;
        return true;
    case win::WM_NCHITTEST:
        result = win::HTCLIENT;
        return true;
    case win::WM_MOUSEWHEEL:
        result = 0;
        return FSinterface::callback(MouseWheel, win::GET_WHEEL_DELTA_WPARAM(wParam)) != 0;
    default:
        return false;
    }
}

} // namespace

namespace ViewHooks {

win::LRESULT viewWindowProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    const HostState& s = hostState();
    if (!s.stopping) {
        if (message == win::WM_MBUTTONDOWN || message == win::WM_MBUTTONUP) {
            if (FSinterface::callback(MiddleButton, message == win::WM_MBUTTONDOWN ? 1 : 0) != 0)
                return 0;
        } else if (win::LRESULT result = 0; s.mouseCapture && capturedMouse(message, wParam, result)) {
            return result;
        }
    }
    return win::CallWindowProc(s.previousViewClassProc, hwnd, message, wParam, lParam);
}

} // namespace ViewHooks

void FSinterface::getMousePos(float& x, float& y) {
    x = y = 0;
    cursorPosition(hostState(), x, y);
}

// The cursor shows while the mouse is captured (with the cross over the views) and goes back to
// hiding when it is let go, so that shows and hides stay balanced however often a camera asks.
void FSinterface::setMouseCapture(bool on, float x, float y) {
    HostState& s = hostState();
    if (on == s.mouseCapture) {
        moveCursor(s, x, y);
        return;
    }
    win::ShowCursor(on);
    moveCursor(s, x, y);
    s.mouseCapture = on;
}
