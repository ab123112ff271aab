#include "winsys/controls/StandardClasses.h"

#include "winsys/CommonControls.h"
#include "winsys/Controls.h"
#include "winsys/Input.h"
#include "winsys/controls/ControlProcs.h"

namespace win::controls {

std::vector<model::WindowClass> standardClasses() {
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    const auto control = [arrow](const char* name, WNDPROC proc) {
        return model::WindowClass{WNDCLASS{0, proc, nullptr, arrow, name}, true};
    };
    return {
        model::WindowClass{WNDCLASS{0, DefDlgProc, nullptr, arrow, WC_DIALOG}, false},
        control(WC_BUTTON, ButtonProc),
        control(WC_STATIC, StaticProc),
        control(WC_EDIT, EditProc),
        control(WC_COMBOBOX, ComboBoxProc),
        control(WC_LISTBOX, ListBoxProc),
        control(TRACKBAR_CLASS, TrackbarProc),
        control(UPDOWN_CLASS, UpDownProc),
        control(HOTKEY_CLASS, HotKeyProc),
        control(WC_TREEVIEW, TreeViewProc),
    };
}

KindClass classOfKind(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
        return {WC_BUTTON, BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::DefPushButton:
        return {WC_BUTTON, BS_DEFPUSHBUTTON | WS_TABSTOP};
    case ControlKind::CheckBox:
        return {WC_BUTTON, BS_CHECKBOX | WS_TABSTOP};
    case ControlKind::AutoCheckBox:
        return {WC_BUTTON, BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::RadioButton:
        return {WC_BUTTON, BS_RADIOBUTTON};
    case ControlKind::AutoRadioButton:
        return {WC_BUTTON, BS_AUTORADIOBUTTON};
    case ControlKind::GroupBox:
        return {WC_BUTTON, BS_GROUPBOX};
    case ControlKind::Text:
        return {WC_STATIC, SS_LEFT | WS_GROUP};
    case ControlKind::Edit:
        return {WC_EDIT, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::ComboBox:
        return {WC_COMBOBOX, CBS_DROPDOWNLIST | WS_TABSTOP};
    case ControlKind::ListBox:
        return {WC_LISTBOX, LBS_NOTIFY | WS_BORDER | WS_TABSTOP};
    case ControlKind::TreeView:
        return {WC_TREEVIEW, WS_BORDER | WS_TABSTOP};
    case ControlKind::Trackbar:
        return {TRACKBAR_CLASS, WS_TABSTOP};
    case ControlKind::UpDown:
        return {UPDOWN_CLASS, 0};
    case ControlKind::HotKey:
        return {HOTKEY_CLASS, WS_BORDER | WS_TABSTOP};
    }
    return {WC_STATIC, SS_LEFT};
}

} // namespace win::controls
