#pragma once

#include <cstdint>

// The handle and value types of the window system, shaped like the original platform's so that
// code written against it reads the same there and here. Functions that the original declares
// with BOOL return bool here.
namespace win {

// Defined by the window model; everyone else only holds handles to them.
struct WindowObject;
struct CursorObject;
struct TreeItemObject;
struct MenuObject;

using HWND = WindowObject*;
using HINSTANCE = const void*; // any address that identifies the module, e.g. one of its statics
using HCURSOR = const CursorObject*;
using HTREEITEM = TreeItemObject*;
using HMENU = MenuObject*;

using UINT = uint32_t;
using DWORD = uint32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using UINT_PTR = uintptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using LONG_PTR = intptr_t;
using INT_PTR = intptr_t;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct POINT {
    int x = 0;
    int y = 0;
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A calendar date and time of day; wDayOfWeek counts from Sunday (0).
struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0; // 1..12
    WORD wDayOfWeek = 0;
    WORD wDay = 0; // 1..31
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;

    friend bool operator==(const SYSTEMTIME&, const SYSTEMTIME&) = default;
};

// The header of every WM_NOTIFY message.
struct NMHDR {
    HWND hwndFrom = nullptr;
    uintptr_t idFrom = 0;
    UINT code = 0;
};

template <typename T> constexpr WORD LOWORD(T value) {
    return static_cast<WORD>(static_cast<uintptr_t>(value) & 0xFFFFu);
}
template <typename T> constexpr WORD HIWORD(T value) {
    return static_cast<WORD>((static_cast<uintptr_t>(value) >> 16) & 0xFFFFu);
}
template <typename T> constexpr BYTE LOBYTE(T value) {
    return static_cast<BYTE>(static_cast<uintptr_t>(value) & 0xFFu);
}
template <typename T> constexpr BYTE HIBYTE(T value) {
    return static_cast<BYTE>((static_cast<uintptr_t>(value) >> 8) & 0xFFu);
}
constexpr uint32_t makeLong(int low, int high) {
    return (static_cast<uint32_t>(low) & 0xFFFFu) | ((static_cast<uint32_t>(high) & 0xFFFFu) << 16);
}
constexpr WPARAM MAKEWPARAM(int low, int high) {
    return makeLong(low, high);
}
constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>(makeLong(low, high));
}
constexpr WORD MAKEWORD(int low, int high) {
    return static_cast<WORD>((static_cast<unsigned>(low) & 0xFFu) |
                             ((static_cast<unsigned>(high) & 0xFFu) << 8));
}
// Signed coordinates packed into an LPARAM (mouse messages).
constexpr int GET_X_LPARAM(LPARAM value) {
    return static_cast<int16_t>(LOWORD(value));
}
constexpr int GET_Y_LPARAM(LPARAM value) {
    return static_cast<int16_t>(HIWORD(value));
}
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM value) {
    return static_cast<int16_t>(HIWORD(value));
}

} // namespace win
