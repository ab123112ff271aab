#include "winsys/model/Record.h"
#include "winsys/model/WindowStore.h"

namespace win {

bool ShowWindow(HWND hwnd, int command) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return false;
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (show == wasVisible)
        return wasVisible;
    SendMessage(hwnd, WM_SHOWWINDOW, show ? 1 : 0, 0);
    if (WindowObject* shown = model::find(hwnd)) {
        shown->style = show ? shown->style | WS_VISIBLE : shown->style & ~WS_VISIBLE;
        model::recordWindow(show ? WindowEntry::Shown : WindowEntry::Hidden, *shown);
    }
    return wasVisible;
}

bool IsWindowVisible(HWND hwnd) {
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return false;
    for (; window != nullptr; window = model::find(window->parent))
        if ((window->style & WS_VISIBLE) == 0)
            return false;
    return true;
}

bool EnableWindow(HWND hwnd, bool enable) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return false;
    const bool wasDisabled = (window->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable)
        return wasDisabled;
    window->style = enable ? window->style & ~WS_DISABLED : window->style | WS_DISABLED;
    SendMessage(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

bool IsWindowEnabled(HWND hwnd) {
    const WindowObject* window = model::find(hwnd);
    return window != nullptr && (window->style & WS_DISABLED) == 0;
}

HWND SetFocus(HWND hwnd) {
    model::Store& state = model::store();
    const HWND previous = state.focus;
    if (hwnd == previous || (hwnd != nullptr && !IsWindow(hwnd)))
        return previous;
    SendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    state.focus = hwnd;
    SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() {
    return model::store().focus;
}

} // namespace win
