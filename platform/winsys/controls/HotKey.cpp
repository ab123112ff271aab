#include <cstdio>

#include "winsys/CommonControls.h"
#include "winsys/controls/ControlProcs.h"
#include "winsys/controls/ControlState.h"
#include "winsys/controls/UserActions.h"

namespace win::controls {

namespace {

constexpr BYTE kCombinationModifiers = HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT;

struct HotKeyState : model::ControlState {
    BYTE virtualKey = 0;
    BYTE modifiers = 0;
    WPARAM forbidden = 0; // HKCOMB_ flags
    BYTE replacement = 0; // modifiers that take the place of a forbidden combination

    std::string describe() const override {
        if (virtualKey == 0)
            return "hot key none";
        std::string text = "hot key ";
        if ((modifiers & HOTKEYF_CONTROL) != 0)
            text += "Ctrl+";
        if ((modifiers & HOTKEYF_SHIFT) != 0)
            text += "Shift+";
        if ((modifiers & HOTKEYF_ALT) != 0)
            text += "Alt+";
        char key[8];
        std::snprintf(key, sizeof key, "0x%02X", virtualKey);
        return text + key;
    }
};

// The HKCOMB_ flag of a combination of Shift, Ctrl and Alt.
WPARAM combinationOf(BYTE modifiers) {
    static constexpr WPARAM kCombinations[] = {HKCOMB_NONE, HKCOMB_S,  HKCOMB_C,  HKCOMB_SC,
                                               HKCOMB_A,    HKCOMB_SA, HKCOMB_CA, HKCOMB_SCA};
    return kCombinations[modifiers & kCombinationModifiers];
}

} // namespace

LRESULT HotKeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HotKeyState* state = stateOf<HotKeyState>(hwnd);
    if (state == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
    case HKM_SETHOTKEY:
        state->virtualKey = LOBYTE(wParam);
        state->modifiers = HIBYTE(wParam);
        return 0;
    case HKM_GETHOTKEY:
        return MAKEWORD(state->virtualKey, state->modifiers);
    case HKM_SETRULES:
        state->forbidden = wParam;
        state->replacement = static_cast<BYTE>(LOWORD(lParam) & 0xFF);
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

std::string enterHotKey(HWND field, BYTE virtualKey, BYTE modifiers) {
    HotKeyState* state = isClass(field, HOTKEY_CLASS) ? stateOf<HotKeyState>(field) : nullptr;
    if (state == nullptr)
        return "not a hot-key field";
    if ((state->forbidden & combinationOf(modifiers)) != 0)
        modifiers = static_cast<BYTE>((modifiers & ~kCombinationModifiers) | state->replacement);
    SendMessage(field, HKM_SETHOTKEY, MAKEWORD(virtualKey, modifiers), 0);
    notifyParent(field, EN_CHANGE);
    return {};
}

} // namespace win::controls
