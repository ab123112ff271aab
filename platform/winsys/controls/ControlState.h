#pragma once

#include <memory>
#include <string>

#include "text/AsciiCase.h"
#include "winsys/Controls.h"
#include "winsys/model/WindowStore.h"

// What the control procedures share.
namespace win::controls {

// The control's own state, made on its first message; nullptr when the window is gone or
// already holds the state of another kind of control (a procedure called for a foreign window).
template <typename State> State* stateOf(HWND hwnd) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return nullptr;
    if (!window->control)
        window->control = std::make_unique<State>();
    return dynamic_cast<State*>(window->control.get());
}

inline DWORD styleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
}

inline bool isClass(HWND hwnd, const char* className) {
    return IsWindow(hwnd) && equalsIgnoringCase(GetClassName(hwnd), className);
}

// WM_COMMAND (id, code) from the control to its parent.
inline void notifyParent(HWND control, int code) {
    SendMessage(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                reinterpret_cast<LPARAM>(control));
}

// WM_NOTIFY from the control to its parent; fills in the sender.
template <typename Notification> LRESULT notifyParent(HWND control, UINT code, Notification& notification) {
    notification.hdr.hwndFrom = control;
    notification.hdr.idFrom = static_cast<uintptr_t>(GetDlgCtrlID(control));
    notification.hdr.code = code;
    return SendMessage(GetParent(control), WM_NOTIFY, notification.hdr.idFrom,
                       reinterpret_cast<LPARAM>(&notification));
}

// A scroll report (WM_HSCROLL or WM_VSCROLL) from the control to its parent.
inline void reportScroll(HWND control, bool vertical, int code, int position) {
    SendMessage(GetParent(control), vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position),
                reinterpret_cast<LPARAM>(control));
}

} // namespace win::controls
