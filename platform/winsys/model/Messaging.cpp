#include <algorithm>
#include <cstring>

#include "winsys/Backend.h"
#include "winsys/Input.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

LRESULT copyTitle(const WindowObject& window, WPARAM capacity, LPARAM buffer) {
    if (capacity == 0 || buffer == 0)
        return 0;
    const size_t count = std::min(window.title.size(), static_cast<size_t>(capacity) - 1);
    char* out = reinterpret_cast<char*>(buffer);
    std::memcpy(out, window.title.data(), count);
    out[count] = '\0';
    return static_cast<LRESULT>(count);
}

int hitTest(HWND hwnd, LPARAM screenPoint) {
    POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    RECT client;
    if (!ScreenToClient(hwnd, &point) || !GetClientRect(hwnd, &client))
        return HTNOWHERE;
    const bool inside = point.x >= 0 && point.y >= 0 && point.x < client.right && point.y < client.bottom;
    return inside ? HTCLIENT : HTNOWHERE;
}

} // namespace

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr || window->proc == nullptr)
        return 0;
    const WNDPROC proc = window->proc;
    return proc(hwnd, message, wParam, lParam);
}

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd))
        return false;
    model::store().posted.push_back(model::PostedMessage{hwnd, message, wParam, lParam});
    return true;
}

size_t PumpPostedMessages() {
    size_t delivered = 0;
    auto& posted = model::store().posted;
    while (!posted.empty()) {
        const model::PostedMessage next = posted.front();
        posted.pop_front();
        if (!IsWindow(next.hwnd))
            continue;
        SendMessage(next.hwnd, next.message, next.wParam, next.lParam);
        ++delivered;
    }
    return delivered;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc == nullptr ? 0 : proc(hwnd, message, wParam, lParam);
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return 0;
    switch (message) {
    case WM_NCCREATE:
        window->title = reinterpret_cast<const CREATESTRUCT*>(lParam)->name;
        return 1;
    case WM_SETTEXT:
        window->title = lParam == 0 ? "" : reinterpret_cast<const char*>(lParam);
        return 1;
    case WM_GETTEXT:
        return copyTitle(*window, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->title.size());
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_NCHITTEST:
        return hitTest(hwnd, lParam);
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && window->windowClass->info.hCursor != nullptr) {
            SetCursor(window->windowClass->info.hCursor);
            return 1;
        }
        return 0;
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        // Unhandled wheel turns and right-clicks go up to the parent, as on the original.
        return window->isChild() ? SendMessage(window->parent, message, wParam, lParam) : 0;
    default:
        return 0;
    }
}

} // namespace win
