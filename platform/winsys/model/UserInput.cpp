// Keyboard, mouse and window moves as a user makes them.
#include "winsys/UserInput.h"

#include "winsys/Backend.h"
#include "winsys/Controls.h"
#include "winsys/Dialogs.h"
#include "winsys/Input.h"
#include "winsys/WindowApi.h"
#include "winsys/model/Cursors.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

bool isDown(int virtualKey) {
    return GetAsyncKeyState(virtualKey) < 0;
}

// The MK_ flags mouse messages carry.
WPARAM mouseKeys() {
    WPARAM keys = 0;
    if (isDown(VK_SHIFT))
        keys |= MK_SHIFT;
    if (isDown(VK_CONTROL))
        keys |= MK_CONTROL;
    if (isDown(VK_MBUTTON))
        keys |= MK_MBUTTON;
    return keys;
}

POINT cursor() {
    POINT point;
    GetCursorPos(&point);
    return point;
}

LPARAM clientCursor(HWND window) {
    POINT point = cursor();
    ScreenToClient(window, &point);
    return MAKELPARAM(point.x, point.y);
}

} // namespace

void setKeyDown(int virtualKey, bool down) {
    if (virtualKey >= 0 && virtualKey <= 255)
        model::store().keyDown[static_cast<size_t>(virtualKey)] = down;
}

void sendKey(HWND window, int virtualKey, bool down) {
    const bool wasDown = isDown(virtualKey);
    setKeyDown(virtualKey, down);
    const uint32_t flags = 1u | (wasDown ? 1u << 30 : 0u) | (down ? 0u : 1u << 31);
    SendMessage(window, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(virtualKey),
                static_cast<LPARAM>(flags));
}

void moveMouse(HWND window, POINT client) {
    POINT screen = client;
    if (!ClientToScreen(window, &screen))
        return;
    model::placeCursor(screen);
    const LRESULT hit = SendMessage(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    SendMessage(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                MAKELPARAM(static_cast<int>(hit), WM_MOUSEMOVE));
    if (hit == HTCLIENT)
        SendMessage(window, WM_MOUSEMOVE, mouseKeys(), MAKELPARAM(client.x, client.y));
}

void pressMiddleButton(HWND window, bool down) {
    setKeyDown(VK_MBUTTON, down);
    SendMessage(window, down ? WM_MBUTTONDOWN : WM_MBUTTONUP, mouseKeys(), clientCursor(window));
}

void turnWheel(HWND window, int delta) {
    const POINT screen = cursor();
    SendMessage(window, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(mouseKeys()), delta),
                MAKELPARAM(screen.x, screen.y));
}

void dragWindow(HWND window, int x, int y) {
    SendMessage(window, WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessage(window, WM_EXITSIZEMOVE, 0, 0);
}

void closeWindow(HWND window) {
    if (GetDialogInfo(window))
        SendMessage(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
    else
        SendMessage(window, WM_CLOSE, 0, 0);
}

void activate(HWND window) {
    HWND& active = model::store().active;
    if (window == active)
        return;
    const HWND previous = active;
    active = window;
    if (IsWindow(previous))
        SendMessage(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    SendMessage(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
}

} // namespace win
