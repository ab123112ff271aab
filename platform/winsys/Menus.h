#pragma once

#include <string>
#include <vector>

#include "winsys/Types.h"

// Menus: a top-level window's menu bar, whose items open pop-up menus of commands, and pop-up menus
// a window opens on a right-click (WM_CONTEXTMENU), shown at a point of the screen until the user
// chooses an item or dismisses the menu. A chosen command reaches the window as WM_COMMAND with
// the command in the low word of wParam, 0 in the high word and lParam 0.
namespace win {

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_SEPARATOR = 0x0800;

inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

struct MenuItem {
    UINT flags = MF_STRING;
    UINT id = 0; // the command it sends; none for a separator or a pop-up menu's item
    std::string text;
    HMENU submenu = nullptr; // MF_POPUP: the menu the item opens

    // A command the user can choose: not a separator, not disabled, opening no menu.
    bool choosable() const { return (flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_POPUP)) == 0; }
};

// A menu bar for SetMenu; the same kind of menu as a pop-up menu here.
HMENU CreateMenu();
HMENU CreatePopupMenu();
// With MF_POPUP `idOrSubmenu` is the menu the item opens, which then belongs to this one; false
// for a handle that names no menu, and for a submenu that another item opens already, that is a
// window's menu bar, or that holds this menu.
bool AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, const std::string& text);
// Destroys the menu with the menus its items open.
bool DestroyMenu(HMENU menu);
// The items, for a backend that shows the menu; -1 and false for a handle that names no menu.
int GetMenuItemCount(HMENU menu);
bool GetMenuItem(HMENU menu, int position, MenuItem* item);

// The menu bar of a top-level window (false for a child window, or for a menu an item opens); the
// window's menu bar is destroyed with the window, one it no longer shows is not; a destroyed bar
// leaves the window without one. The backend is told of the change.
bool SetMenu(HWND window, HMENU menu);
HMENU GetMenu(HWND window);
// Tells the backend that the menu bar's items changed.
bool DrawMenuBar(HWND window);
// Shows the menu at the screen point for the owner and returns when the user has chosen or dismissed
// it. With TPM_RETURNCMD the chosen command (0 when dismissed); otherwise the owner gets the command
// as a posted WM_COMMAND (low word the command, high word 0, lParam 0) and the result is nonzero
// unless the menu or the owner does not exist.
UINT TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner);

} // namespace win
