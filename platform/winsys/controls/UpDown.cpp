#include <algorithm>

#include "winsys/CommonControls.h"
#include "winsys/controls/ControlProcs.h"
#include "winsys/controls/ControlState.h"
#include "winsys/controls/UserActions.h"

namespace win::controls {

namespace {

struct UpDownState : model::ControlState {
    int minimum = 100; // the original's range until one is set
    int maximum = 0;
    int position = 0;
    HWND buddy = nullptr;

    std::string describe() const override {
        return "position " + std::to_string(position) + " range " + std::to_string(minimum) + ".." +
               std::to_string(maximum);
    }
    int low() const { return std::min(minimum, maximum); }
    int high() const { return std::max(minimum, maximum); }
};

void setPosition(HWND hwnd, UpDownState& state, int position) {
    state.position = std::clamp(position, state.low(), state.high());
    if ((styleOf(hwnd) & UDS_SETBUDDYINT) != 0)
        SetWindowText(state.buddy, std::to_string(state.position));
}

HWND previousSibling(HWND hwnd) {
    const HWND parent = GetParent(hwnd);
    HWND previous = nullptr;
    for (HWND sibling = FindWindowEx(parent, nullptr, nullptr, nullptr);
         sibling != nullptr && sibling != hwnd; sibling = FindWindowEx(parent, sibling, nullptr, nullptr))
        previous = sibling;
    return previous;
}

} // namespace

LRESULT UpDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    UpDownState* state = stateOf<UpDownState>(hwnd);
    if (state == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        if ((styleOf(hwnd) & UDS_AUTOBUDDY) != 0)
            state->buddy = previousSibling(hwnd);
        return 0;
    case UDM_SETRANGE32:
        state->minimum = static_cast<int>(static_cast<intptr_t>(wParam));
        state->maximum = static_cast<int>(lParam);
        state->position = std::clamp(state->position, state->low(), state->high());
        return 0;
    case UDM_GETRANGE32:
        if (wParam != 0)
            *reinterpret_cast<int*>(wParam) = state->minimum;
        if (lParam != 0)
            *reinterpret_cast<int*>(lParam) = state->maximum;
        return 0;
    case UDM_SETPOS32: {
        const int previous = state->position;
        setPosition(hwnd, *state, static_cast<int>(lParam));
        return previous;
    }
    case UDM_GETPOS32:
        return state->position;
    case UDM_SETBUDDY: {
        const HWND previous = state->buddy;
        state->buddy = reinterpret_cast<HWND>(wParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(state->buddy);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

std::string clickUpDown(HWND upDown, int position) {
    int minimum = 0;
    int maximum = 0;
    SendMessage(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&minimum),
                reinterpret_cast<LPARAM>(&maximum));
    if (position < std::min(minimum, maximum) || position > std::max(minimum, maximum))
        return "position " + std::to_string(position) + " is outside " + std::to_string(minimum) + ".." +
               std::to_string(maximum);
    SendMessage(upDown, UDM_SETPOS32, 0, position);
    const bool vertical = (styleOf(upDown) & UDS_HORZ) == 0;
    reportScroll(upDown, vertical, SB_THUMBPOSITION, position);
    reportScroll(upDown, vertical, SB_ENDSCROLL, position);
    return {};
}

} // namespace win::controls
