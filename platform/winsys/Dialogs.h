#pragma once

#include <string>
#include <vector>

#include "winsys/Messages.h"

// Dialogs built from templates, the dialog item helpers and message boxes.
//
// The dialog procedure protocol is the original's: the dialog procedure is installed once the
// frame exists, so it already sees WM_SETFONT before WM_INITDIALOG (wParam: the control that gets
// the default focus, lParam: the creation parameter); a TRUE answer to WM_INITDIALOG gives that
// control the focus. A DLGPROC returns TRUE when it handled a message; the result of a handled
// message is then DWLP_MSGRESULT (WM_INITDIALOG: the return value itself); unhandled messages get
// the default handling, where WM_CLOSE becomes WM_COMMAND IDCANCEL. The IDOK and IDCANCEL buttons
// do nothing by themselves.
namespace win {

// One control of a template, in the order of a resource script: the kind picks the window
// class and its usual styles (each kind is WS_CHILD | WS_VISIBLE plus the styles named below),
// `style` adds to them.
enum class ControlKind {
    PushButton,      // Button, BS_PUSHBUTTON | WS_TABSTOP
    DefPushButton,   // Button, BS_DEFPUSHBUTTON | WS_TABSTOP
    CheckBox,        // Button, BS_CHECKBOX | WS_TABSTOP
    AutoCheckBox,    // Button, BS_AUTOCHECKBOX | WS_TABSTOP
    RadioButton,     // Button, BS_RADIOBUTTON
    AutoRadioButton, // Button, BS_AUTORADIOBUTTON
    GroupBox,        // Button, BS_GROUPBOX
    Text,            // Static, SS_LEFT | WS_GROUP
    Edit,            // Edit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP
    ComboBox,        // ComboBox, CBS_DROPDOWNLIST | WS_TABSTOP
    ListBox,         // ListBox, LBS_NOTIFY | WS_BORDER | WS_TABSTOP
    TreeView,        // SysTreeView32, WS_BORDER | WS_TABSTOP
    Trackbar,        // msctls_trackbar32, WS_TABSTOP
    UpDown,          // msctls_updown32
    HotKey,          // msctls_hotkey32, WS_BORDER | WS_TABSTOP
};

// A rectangle in dialog units, as a resource script writes it.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Text;
    std::string text;
    DialogRect rect;
    DWORD style = 0;
};

// Dialog units follow from the font: 8 points give base units of 6 x 13 pixels (a dialog unit
// is a quarter of the horizontal and an eighth of the vertical base unit); other sizes scale.
// The dialog is placed at the owner's top-left corner (the screen's when it has none).
struct DialogTemplate {
    uint16_t id = 0;
    std::string title;
    int width = 0; // client area, dialog units
    int height = 0;
    std::string font = "MS Shell Dlg 2";
    int fontSize = 8;
    std::vector<ControlTemplate> controls;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    DWORD exStyle = 0;
    std::string className; // empty: the standard dialog class WC_DIALOG
};

// A later registration of the same (instance, id) replaces the earlier one.
void RegisterDialogTemplate(HINSTANCE instance, DialogTemplate dialogTemplate);

// Modal: the owner (the top-level ancestor of `parent`) is disabled while the dialog runs; the
// backend runs the modal loop until EndDialog; the dialog is then destroyed (WM_DESTROY) and the
// EndDialog result returned. -1 when the template is missing or the dialog window is destroyed
// without EndDialog.
INT_PTR DialogBoxParam(HINSTANCE instance, uint16_t templateId, HWND parent, DLGPROC dialogProc,
                       LPARAM initParam);
// Modeless: returns once WM_INITDIALOG is done; shown when the template's style has WS_VISIBLE.
HWND CreateDialogParam(HINSTANCE instance, uint16_t templateId, HWND parent, DLGPROC dialogProc,
                       LPARAM initParam);
bool EndDialog(HWND dialog, INT_PTR result);
// The procedure of the dialog classes: calls the window's DLGPROC first.
LRESULT DefDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Dialog units to pixels with the dialog's base units.
bool MapDialogRect(HWND dialog, RECT* rect);

// Direct children only, as on the original.
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
bool SetDlgItemText(HWND dialog, int id, const std::string& text);
std::string GetDlgItemText(HWND dialog, int id);
// `value` is taken as signed when `isSigned`.
bool SetDlgItemInt(HWND dialog, int id, UINT value, bool isSigned);
// Leading blanks, a '-' when signed, then digits to the end of the text; anything else, or a
// value out of range, gives 0 with *translated false.
UINT GetDlgItemInt(HWND dialog, int id, bool* translated, bool isSigned);
bool CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

// Message boxes.
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_ICONERROR = 0x00000010;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONWARNING = 0x00000030;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;
inline constexpr UINT MB_TYPEMASK = 0x0000000F;
inline constexpr UINT MB_ICONMASK = 0x000000F0;

// Returns IDOK, IDCANCEL, IDYES or IDNO. The owner is disabled while the box is shown. When no
// top-level window exists (a program on the command line) the box is also printed on stderr as
// "caption: text".
int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

} // namespace win
