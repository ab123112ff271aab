#pragma once

#include "winsys/Types.h"

// The standard controls (button, static, edit, combo box, list box): class names, styles,
// messages and notifications with the original platform's values.
namespace win {

inline constexpr const char* WC_DIALOG = "#32770";
inline constexpr const char* WC_BUTTON = "Button";
inline constexpr const char* WC_STATIC = "Static";
inline constexpr const char* WC_EDIT = "Edit";
inline constexpr const char* WC_COMBOBOX = "ComboBox";
inline constexpr const char* WC_LISTBOX = "ListBox";

// Buttons. The low four bits of the style are the button's type.
inline constexpr DWORD BS_PUSHBUTTON = 0x0;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
inline constexpr DWORD BS_CHECKBOX = 0x2;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x3;
inline constexpr DWORD BS_RADIOBUTTON = 0x4;
inline constexpr DWORD BS_GROUPBOX = 0x7;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
inline constexpr DWORD BS_OWNERDRAW = 0xB;
inline constexpr DWORD BS_TYPEMASK = 0xF;
inline constexpr DWORD BS_PUSHLIKE = 0x1000;

inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_GETSTATE = 0x00F2;
inline constexpr UINT BM_SETSTATE = 0x00F3;
inline constexpr UINT BM_CLICK = 0x00F5;

inline constexpr UINT BST_UNCHECKED = 0x0;
inline constexpr UINT BST_CHECKED = 0x1;
inline constexpr UINT BST_PUSHED = 0x4;

inline constexpr int BN_CLICKED = 0;

// Owner-drawn buttons: WM_DRAWITEM to the parent whenever the pressed state changes. The model
// has no device contexts, so the structure carries none.
inline constexpr UINT ODT_BUTTON = 4;
inline constexpr UINT ODA_DRAWENTIRE = 0x1;
inline constexpr UINT ODA_SELECT = 0x2;
inline constexpr UINT ODS_SELECTED = 0x1;

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    RECT rcItem;
    uintptr_t itemData = 0;
};

// Statics.
inline constexpr DWORD SS_LEFT = 0x0;
inline constexpr DWORD SS_CENTER = 0x1;
inline constexpr DWORD SS_NOTIFY = 0x100;
inline constexpr DWORD SS_SUNKEN = 0x1000;
inline constexpr int STN_CLICKED = 0;

// Edits. A single-line edit reports EN_CHANGE also when its text is set by a program.
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD ES_NUMBER = 0x2000;
inline constexpr int EN_CHANGE = 0x0300;

// Combo boxes.
inline constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
inline constexpr UINT CB_ADDSTRING = 0x0143;
inline constexpr UINT CB_DELETESTRING = 0x0144;
inline constexpr UINT CB_GETCOUNT = 0x0146;
inline constexpr UINT CB_GETCURSEL = 0x0147;
inline constexpr UINT CB_GETLBTEXT = 0x0148;
inline constexpr UINT CB_GETLBTEXTLEN = 0x0149;
inline constexpr UINT CB_INSERTSTRING = 0x014A;
inline constexpr UINT CB_RESETCONTENT = 0x014B;
inline constexpr UINT CB_SETCURSEL = 0x014E;
inline constexpr UINT CB_GETITEMDATA = 0x0150;
inline constexpr UINT CB_SETITEMDATA = 0x0151;
inline constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
inline constexpr LRESULT CB_ERR = -1;
inline constexpr int CBN_SELCHANGE = 1;

// List boxes. LBN_SELCHANGE is sent only with LBS_NOTIFY.
inline constexpr DWORD LBS_NOTIFY = 0x0001;
inline constexpr UINT LB_ADDSTRING = 0x0180;
inline constexpr UINT LB_INSERTSTRING = 0x0181;
inline constexpr UINT LB_DELETESTRING = 0x0182;
inline constexpr UINT LB_RESETCONTENT = 0x0184;
inline constexpr UINT LB_SETCURSEL = 0x0186;
inline constexpr UINT LB_GETCURSEL = 0x0188;
inline constexpr UINT LB_GETTEXT = 0x0189;
inline constexpr UINT LB_GETTEXTLEN = 0x018A;
inline constexpr UINT LB_GETCOUNT = 0x018B;
inline constexpr UINT LB_GETITEMDATA = 0x0199;
inline constexpr UINT LB_SETITEMDATA = 0x019A;
inline constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
inline constexpr LRESULT LB_ERR = -1;
inline constexpr int LBN_SELCHANGE = 1;

} // namespace win
