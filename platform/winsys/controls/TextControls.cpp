// The static text and the edit field: windows whose state is their text.
#include <algorithm>
#include <cctype>

#include "winsys/controls/ControlProcs.h"
#include "winsys/controls/ControlState.h"
#include "winsys/controls/UserActions.h"

namespace win::controls {

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP && (styleOf(hwnd) & SS_NOTIFY) != 0) {
        notifyParent(hwnd, STN_CLICKED);
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
    if (message == WM_SETTEXT && (styleOf(hwnd) & ES_MULTILINE) == 0)
        notifyParent(hwnd, EN_CHANGE);
    return result;
}

std::string clickStatic(HWND label) {
    if ((styleOf(label) & SS_NOTIFY) == 0)
        return "a static without SS_NOTIFY does not report clicks";
    SendMessage(label, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessage(label, WM_LBUTTONUP, 0, 0);
    return {};
}

std::string typeIntoEdit(HWND edit, const std::string& text) {
    if (!isClass(edit, WC_EDIT))
        return "not an edit field";
    const DWORD style = styleOf(edit);
    if ((style & ES_READONLY) != 0)
        return "the field is read-only";
    if ((style & ES_NUMBER) != 0 &&
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return "the field takes digits only";
    SetWindowText(edit, text);
    if ((style & ES_MULTILINE) != 0)
        notifyParent(edit, EN_CHANGE);
    return {};
}

} // namespace win::controls
