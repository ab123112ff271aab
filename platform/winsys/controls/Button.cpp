#include <algorithm>

#include "winsys/controls/ControlProcs.h"
#include "winsys/controls/ControlState.h"
#include "winsys/controls/UserActions.h"

namespace win::controls {

namespace {

struct ButtonState : model::ControlState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;
    DWORD type = BS_PUSHBUTTON;

    std::string describe() const override {
        std::string text;
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
            type == BS_AUTORADIOBUTTON)
            text = check == BST_CHECKED ? "checked" : "unchecked";
        if (pushed)
            text += text.empty() ? "pushed" : " pushed";
        return text;
    }
};

DWORD typeOf(HWND button) {
    return styleOf(button) & BS_TYPEMASK;
}

bool isRadio(HWND button) {
    const DWORD type = typeOf(button);
    return isClass(button, WC_BUTTON) && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

// An owner-drawn button has its parent draw it whenever its pressed state changes.
void setPushed(HWND button, bool pushed) {
    ButtonState* state = stateOf<ButtonState>(button);
    if (state == nullptr || state->pushed == pushed)
        return;
    state->pushed = pushed;
    if (typeOf(button) != BS_OWNERDRAW)
        return;
    DRAWITEMSTRUCT draw;
    draw.CtlType = ODT_BUTTON;
    draw.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
    draw.itemAction = ODA_SELECT;
    draw.itemState = pushed ? ODS_SELECTED : 0;
    draw.hwndItem = button;
    GetClientRect(button, &draw.rcItem);
    SendMessage(GetParent(button), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
}

// The radio buttons of a group: from the nearest sibling with WS_GROUP up to the next one.
void uncheckOtherRadios(HWND button) {
    const HWND parent = GetParent(button);
    std::vector<HWND> group;
    for (HWND sibling = FindWindowEx(parent, nullptr, nullptr, nullptr); sibling != nullptr;
         sibling = FindWindowEx(parent, sibling, nullptr, nullptr)) {
        if ((styleOf(sibling) & WS_GROUP) != 0) {
            if (std::find(group.begin(), group.end(), button) != group.end())
                break;
            group.clear();
        }
        group.push_back(sibling);
    }
    for (HWND member : group)
        if (member != button && isRadio(member))
            SendMessage(member, BM_SETCHECK, BST_UNCHECKED, 0);
}

void completeClick(HWND button) {
    ButtonState* state = stateOf<ButtonState>(button);
    if (state == nullptr)
        return;
    if (state->type == BS_AUTOCHECKBOX)
        state->check = state->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    if (state->type == BS_AUTORADIOBUTTON) {
        state->check = BST_CHECKED;
        uncheckOtherRadios(button);
    }
    notifyParent(button, BN_CLICKED);
}

std::string usableForClicks(HWND button) {
    return typeOf(button) == BS_GROUPBOX ? "a group box cannot be clicked" : std::string();
}

} // namespace

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ButtonState* state = stateOf<ButtonState>(hwnd);
    if (state == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        state->type = typeOf(hwnd);
        break;
    case BM_GETCHECK:
        return state->check;
    case BM_SETCHECK:
        state->check = static_cast<UINT>(wParam);
        return 0;
    case BM_GETSTATE:
        return state->check | (state->pushed ? BST_PUSHED : 0);
    case BM_SETSTATE:
        setPushed(hwnd, wParam != 0);
        return 0;
    case BM_CLICK:
        SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessage(hwnd, WM_LBUTTONUP, 0, 0);
        return 0;
    case WM_LBUTTONDOWN:
        if (state->type != BS_GROUPBOX)
            setPushed(hwnd, true);
        return 0;
    case WM_LBUTTONUP:
        if (state->pushed) {
            setPushed(hwnd, false);
            completeClick(hwnd);
        }
        return 0;
    default:
        break;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

std::string clickButton(HWND button) {
    if (std::string problem = usableForClicks(button); !problem.empty())
        return problem;
    SendMessage(button, BM_CLICK, 0, 0);
    return {};
}

std::string holdButton(HWND button) {
    if (std::string problem = usableForClicks(button); !problem.empty())
        return problem;
    SendMessage(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    return {};
}

std::string releaseButton(HWND button) {
    if ((SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED) == 0)
        return "the button is not held";
    SendMessage(button, WM_LBUTTONUP, 0, 0);
    return {};
}

std::string setButtonCheck(HWND button, bool checked) {
    const DWORD type = typeOf(button);
    if (type != BS_CHECKBOX && type != BS_AUTOCHECKBOX && !isRadio(button))
        return "not a check box or radio button";
    const UINT wanted = checked ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<UINT>(SendMessage(button, BM_GETCHECK, 0, 0)) == wanted)
        return {};
    clickButton(button);
    if (static_cast<UINT>(SendMessage(button, BM_GETCHECK, 0, 0)) != wanted)
        return checked ? "the click did not check it" : "the click did not uncheck it";
    return {};
}

} // namespace win::controls
