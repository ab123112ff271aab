#include <algorithm>

#include "winsys/CommonControls.h"
#include "winsys/controls/ControlProcs.h"
#include "winsys/controls/ControlState.h"
#include "winsys/controls/UserActions.h"

namespace win::controls {

namespace {

struct TrackbarState : model::ControlState {
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    std::vector<int> ticks; // the ones set by TBM_SETTIC, in the order set

    std::string describe() const override {
        std::string text = "position " + std::to_string(position) + " range " + std::to_string(minimum) +
                           ".." + std::to_string(maximum);
        for (size_t i = 0; i < ticks.size(); ++i)
            text += (i == 0 ? " ticks " : ",") + std::to_string(ticks[i]);
        return text;
    }
    int clamped(LPARAM value) const {
        return static_cast<int>(std::clamp<LPARAM>(value, minimum, std::max(minimum, maximum)));
    }
    void setRange(int low, int high) {
        minimum = low;
        maximum = high;
        position = clamped(position);
    }
};

} // namespace

LRESULT TrackbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TrackbarState* state = stateOf<TrackbarState>(hwnd);
    if (state == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
    case TBM_GETPOS:
        return state->position;
    case TBM_SETPOS:
        state->position = state->clamped(lParam);
        return 0;
    case TBM_GETRANGEMIN:
        return state->minimum;
    case TBM_GETRANGEMAX:
        return state->maximum;
    case TBM_SETRANGE:
        state->setRange(static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam)));
        return 0;
    case TBM_SETRANGEMIN:
        state->setRange(static_cast<int>(lParam), state->maximum);
        return 0;
    case TBM_SETRANGEMAX:
        state->setRange(state->minimum, static_cast<int>(lParam));
        return 0;
    case TBM_SETTIC:
        if (lParam < state->minimum || lParam > state->maximum)
            return 0;
        state->ticks.push_back(static_cast<int>(lParam));
        return 1;
    case TBM_CLEARTICS:
        state->ticks.clear();
        return 0;
    case TBM_GETNUMTICS:
        // The first and last tick are always drawn, unless there are no ticks at all.
        return (styleOf(hwnd) & TBS_NOTICKS) != 0 ? 0 : static_cast<LRESULT>(state->ticks.size() + 2);
    case TBM_GETTIC:
        return wParam < state->ticks.size() ? state->ticks[wParam] : -1;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

std::string dragTrackbar(HWND trackbar, int position) {
    const LRESULT minimum = SendMessage(trackbar, TBM_GETRANGEMIN, 0, 0);
    const LRESULT maximum = SendMessage(trackbar, TBM_GETRANGEMAX, 0, 0);
    if (position < minimum || position > maximum)
        return "position " + std::to_string(position) + " is outside " + std::to_string(minimum) + ".." +
               std::to_string(maximum);
    SendMessage(trackbar, TBM_SETPOS, 1, position);
    const bool vertical = (styleOf(trackbar) & TBS_VERT) != 0;
    reportScroll(trackbar, vertical, TB_THUMBTRACK, position);
    reportScroll(trackbar, vertical, TB_THUMBPOSITION, position);
    reportScroll(trackbar, vertical, TB_ENDTRACK, 0);
    return {};
}

} // namespace win::controls
