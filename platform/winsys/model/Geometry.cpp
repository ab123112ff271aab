#include "winsys/model/Geometry.h"

#include <algorithm>

#include "winsys/Backend.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

constexpr int kSizingFrame = 8;
constexpr int kFixedFrame = 3;
constexpr int kThinBorder = 1;
constexpr int kClientEdge = 2;
constexpr int kCaption = 23;
constexpr int kToolCaption = 17;

// Screen position of the client area's top-left corner.
POINT clientOrigin(const WindowObject& window) {
    POINT origin{window.rect.left + window.frame.left, window.rect.top + window.frame.top};
    if (const WindowObject* parent = model::find(window.parent)) {
        const POINT parentOrigin = clientOrigin(*parent);
        origin.x += parentOrigin.x;
        origin.y += parentOrigin.y;
    }
    return origin;
}

// The client origin in the coordinates WM_MOVE reports: the parent's client area for children.
POINT movePoint(const WindowObject& window) {
    return POINT{window.rect.left + window.frame.left, window.rect.top + window.frame.top};
}

bool samePoint(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace

namespace model {

RECT frameFor(DWORD style, DWORD exStyle) {
    int border = 0;
    if ((style & WS_THICKFRAME) != 0)
        border = kSizingFrame;
    else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0)
        border = kFixedFrame;
    else if ((style & WS_BORDER) != 0)
        border = kThinBorder;
    if ((exStyle & WS_EX_CLIENTEDGE) != 0)
        border += kClientEdge;
    int caption = 0;
    if ((style & WS_CAPTION) == WS_CAPTION)
        caption = (exStyle & WS_EX_TOOLWINDOW) != 0 ? kToolCaption : kCaption;
    return RECT{border, border + caption, border, border};
}

POINT clientSize(const WindowObject& window) {
    const int width = window.rect.right - window.rect.left - window.frame.left - window.frame.right;
    const int height = window.rect.bottom - window.rect.top - window.frame.top - window.frame.bottom;
    return POINT{std::max(width, 0), std::max(height, 0)};
}

} // namespace model

bool GetWindowRect(HWND hwnd, RECT* rect) {
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr || rect == nullptr)
        return false;
    const POINT origin = clientOrigin(*window);
    const int left = origin.x - window->frame.left;
    const int top = origin.y - window->frame.top;
    *rect = RECT{left, top, left + window->rect.right - window->rect.left,
                 top + window->rect.bottom - window->rect.top};
    return true;
}

bool GetClientRect(HWND hwnd, RECT* rect) {
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr || rect == nullptr)
        return false;
    const POINT size = model::clientSize(*window);
    *rect = RECT{0, 0, size.x, size.y};
    return true;
}

bool SetWindowPos(HWND hwnd, HWND, int x, int y, int width, int height, UINT flags) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return false;
    const POINT oldOrigin = movePoint(*window);
    const POINT oldSize = model::clientSize(*window);
    RECT& rect = window->rect;
    if ((flags & SWP_NOMOVE) == 0)
        rect = RECT{x, y, x + rect.right - rect.left, y + rect.bottom - rect.top};
    if ((flags & SWP_NOSIZE) == 0) {
        if (!window->isChild()) {
            width = std::min(width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
            height = std::min(height, GetSystemMetrics(SM_CYVIRTUALSCREEN));
        }
        rect = RECT{rect.left, rect.top, rect.left + width, rect.top + height};
    }
    const bool geometryChanged = (flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE);
    if (geometryChanged || (flags & SWP_FRAMECHANGED) != 0)
        window->frame = model::frameFor(window->style, window->exStyle);
    const POINT newOrigin = movePoint(*window);
    const POINT newSize = model::clientSize(*window);

    if ((flags & SWP_SHOWWINDOW) != 0)
        ShowWindow(hwnd, SW_SHOW);
    if ((flags & SWP_HIDEWINDOW) != 0)
        ShowWindow(hwnd, SW_HIDE);
    if (!samePoint(oldOrigin, newOrigin))
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(newOrigin.x, newOrigin.y));
    if (!samePoint(oldSize, newSize))
        SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(newSize.x, newSize.y));
    return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool AdjustWindowRectEx(RECT* rect, DWORD style, DWORD exStyle) {
    if (rect == nullptr)
        return false;
    const RECT frame = model::frameFor(style, exStyle);
    *rect = RECT{rect->left - frame.left, rect->top - frame.top, rect->right + frame.right,
                 rect->bottom + frame.bottom};
    return true;
}

bool ClientToScreen(HWND hwnd, POINT* point) {
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr || point == nullptr)
        return false;
    const POINT origin = clientOrigin(*window);
    *point = POINT{point->x + origin.x, point->y + origin.y};
    return true;
}

bool ScreenToClient(HWND hwnd, POINT* point) {
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr || point == nullptr)
        return false;
    const POINT origin = clientOrigin(*window);
    *point = POINT{point->x - origin.x, point->y - origin.y};
    return true;
}

bool InvalidateRect(HWND hwnd, const RECT*, bool) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return false;
    window->needsPaint = true;
    return true;
}

bool UpdateWindow(HWND hwnd) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return false;
    if (window->needsPaint) {
        window->needsPaint = false;
        SendMessage(hwnd, WM_PAINT, 0, 0);
    }
    return true;
}

int GetSystemMetrics(int index) {
    const ScreenMetrics screen = CurrentBackend().screen();
    switch (index) {
    case SM_CXSCREEN:
        return screen.primaryWidth;
    case SM_CYSCREEN:
        return screen.primaryHeight;
    case SM_XVIRTUALSCREEN:
        return screen.virtualScreen.left;
    case SM_YVIRTUALSCREEN:
        return screen.virtualScreen.top;
    case SM_CXVIRTUALSCREEN:
        return screen.virtualScreen.right - screen.virtualScreen.left;
    case SM_CYVIRTUALSCREEN:
        return screen.virtualScreen.bottom - screen.virtualScreen.top;
    default:
        return 0;
    }
}

} // namespace win
