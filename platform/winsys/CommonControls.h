#pragma once

#include <string>

#include "winsys/Messages.h"

// The common controls (trackbar, up-down, hot key, tree view): class names, styles, messages,
// structures and notifications with the original platform's values. Item texts are std::string
// where the original has a character buffer and its capacity.
namespace win {

inline constexpr const char* TRACKBAR_CLASS = "msctls_trackbar32";
inline constexpr const char* UPDOWN_CLASS = "msctls_updown32";
inline constexpr const char* HOTKEY_CLASS = "msctls_hotkey32";
inline constexpr const char* WC_TREEVIEW = "SysTreeView32";

// Trackbar: range 0..100 until set; a drag reports WM_HSCROLL (WM_VSCROLL with TBS_VERT) with
// TB_THUMBTRACK, TB_THUMBPOSITION and TB_ENDTRACK. Setting the position by message reports nothing.
inline constexpr DWORD TBS_VERT = 0x0002;
inline constexpr DWORD TBS_BOTH = 0x0008;
inline constexpr DWORD TBS_NOTICKS = 0x0010;
inline constexpr UINT TBM_GETPOS = WM_USER;
inline constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
inline constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
inline constexpr UINT TBM_GETTIC = WM_USER + 3;
inline constexpr UINT TBM_SETTIC = WM_USER + 4;
inline constexpr UINT TBM_SETPOS = WM_USER + 5;
inline constexpr UINT TBM_SETRANGE = WM_USER + 6;
inline constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;
inline constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
inline constexpr UINT TBM_CLEARTICS = WM_USER + 9;
inline constexpr UINT TBM_GETNUMTICS = WM_USER + 16;
inline constexpr int TB_THUMBPOSITION = 4;
inline constexpr int TB_THUMBTRACK = 5;
inline constexpr int TB_ENDTRACK = 8;

// Up-down ("spin"): range 100..0 until set, as on the original; a click reports WM_VSCROLL
// (WM_HSCROLL with UDS_HORZ) with SB_THUMBPOSITION and SB_ENDSCROLL. With UDS_SETBUDDYINT every
// position change is written into the buddy window as decimal text.
inline constexpr DWORD UDS_SETBUDDYINT = 0x0002;
inline constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
inline constexpr DWORD UDS_AUTOBUDDY = 0x0010; // the buddy is the control created just before
inline constexpr DWORD UDS_HORZ = 0x0040;
inline constexpr UINT UDM_SETBUDDY = WM_USER + 105;
inline constexpr UINT UDM_GETBUDDY = WM_USER + 106;
inline constexpr UINT UDM_SETRANGE32 = WM_USER + 111;
inline constexpr UINT UDM_GETRANGE32 = WM_USER + 112;
inline constexpr UINT UDM_SETPOS32 = WM_USER + 113;
inline constexpr UINT UDM_GETPOS32 = WM_USER + 114;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_ENDSCROLL = 8;

// Hot-key field: the key is MAKEWORD(virtual key, HOTKEYF_ modifiers). A user's entry reports
// EN_CHANGE; HKM_SETRULES replaces the modifiers of forbidden combinations by the default ones.
inline constexpr UINT HKM_SETHOTKEY = WM_USER + 1;
inline constexpr UINT HKM_GETHOTKEY = WM_USER + 2;
inline constexpr UINT HKM_SETRULES = WM_USER + 3;
inline constexpr BYTE HOTKEYF_SHIFT = 0x01;
inline constexpr BYTE HOTKEYF_CONTROL = 0x02;
inline constexpr BYTE HOTKEYF_ALT = 0x04;
inline constexpr BYTE HOTKEYF_EXT = 0x08;
inline constexpr WPARAM HKCOMB_NONE = 0x01;
inline constexpr WPARAM HKCOMB_S = 0x02;
inline constexpr WPARAM HKCOMB_C = 0x04;
inline constexpr WPARAM HKCOMB_A = 0x08;
inline constexpr WPARAM HKCOMB_SC = 0x10;
inline constexpr WPARAM HKCOMB_SA = 0x20;
inline constexpr WPARAM HKCOMB_CA = 0x40;
inline constexpr WPARAM HKCOMB_SCA = 0x80;

// Tree view. With TVS_CHECKBOXES every item shows a check box: state image 1 is unchecked, 2
// checked, and items inserted without a state image get 1. A user's click on a check box reports
// TVN_ITEMCHANGED; a user's selection reports TVN_SELCHANGED (also sent for TVM_SELECTITEM).
inline constexpr DWORD TVS_HASBUTTONS = 0x0001;
inline constexpr DWORD TVS_HASLINES = 0x0002;
inline constexpr DWORD TVS_LINESATROOT = 0x0004;
inline constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;
inline constexpr DWORD TVS_CHECKBOXES = 0x0100;

inline constexpr UINT TV_FIRST = 0x1100;
inline constexpr UINT TVM_INSERTITEM = TV_FIRST + 0;
inline constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
inline constexpr UINT TVM_EXPAND = TV_FIRST + 2;
inline constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
inline constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
inline constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
inline constexpr UINT TVM_GETITEM = TV_FIRST + 12;
inline constexpr UINT TVM_SETITEM = TV_FIRST + 13;
inline constexpr UINT TVM_GETITEMSTATE = TV_FIRST + 39;

inline constexpr UINT TVIF_TEXT = 0x0001;
inline constexpr UINT TVIF_IMAGE = 0x0002;
inline constexpr UINT TVIF_PARAM = 0x0004;
inline constexpr UINT TVIF_STATE = 0x0008;
inline constexpr UINT TVIF_HANDLE = 0x0010;
inline constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;

inline constexpr UINT TVIS_SELECTED = 0x0002;
inline constexpr UINT TVIS_BOLD = 0x0010;
inline constexpr UINT TVIS_EXPANDED = 0x0020;
inline constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT index) {
    return index << 12;
}

inline constexpr WPARAM TVGN_ROOT = 0x0;
inline constexpr WPARAM TVGN_NEXT = 0x1;
inline constexpr WPARAM TVGN_PREVIOUS = 0x2;
inline constexpr WPARAM TVGN_PARENT = 0x3;
inline constexpr WPARAM TVGN_CHILD = 0x4;
inline constexpr WPARAM TVGN_CARET = 0x9;

inline constexpr WPARAM TVE_COLLAPSE = 0x1;
inline constexpr WPARAM TVE_EXPAND = 0x2;
inline constexpr WPARAM TVE_TOGGLE = 0x3;

inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE));

struct TVITEM {
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    std::string text;
    int iImage = 0;
    int iSelectedImage = 0;
    LPARAM lParam = 0;
};

struct TVINSERTSTRUCT {
    HTREEITEM hParent = nullptr;      // nullptr or TVI_ROOT: a top-level item
    HTREEITEM hInsertAfter = nullptr; // TVI_FIRST, TVI_LAST (also nullptr) or a sibling
    TVITEM item;
};

inline constexpr UINT TVN_FIRST = 0U - 400U;
inline constexpr UINT TVN_SELCHANGED = TVN_FIRST - 2;
inline constexpr UINT TVN_ITEMCHANGED = TVN_FIRST - 18;

inline constexpr UINT TVC_UNKNOWN = 0x0;
inline constexpr UINT TVC_BYMOUSE = 0x1;

struct NMTREEVIEW {
    NMHDR hdr;
    UINT action = TVC_UNKNOWN;
    TVITEM itemOld; // hItem, state and lParam filled
    TVITEM itemNew;
    POINT ptDrag;
};

struct NMTVITEMCHANGE {
    NMHDR hdr;
    UINT uChanged = TVIF_STATE;
    HTREEITEM hItem = nullptr;
    UINT uStateNew = 0;
    UINT uStateOld = 0;
    LPARAM lParam = 0;
};

} // namespace win
