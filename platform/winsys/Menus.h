#pragma once

#include <string>
#include <vector>

#include "winsys/Types.h"

// Pop-up menus, as a window opens them on a right-click (WM_CONTEXTMENU): made, filled, shown at a
// point of the screen until the user chooses an item or dismisses the menu, destroyed.
namespace win {

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_SEPARATOR = 0x0800;

inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

struct MenuItem {
    UINT flags = MF_STRING;
    UINT id = 0; // the command it sends; none for a separator
    std::string text;

    bool choosable() const { return (flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) == 0; }
};

HMENU CreatePopupMenu();
// False for a handle that names no menu.
bool AppendMenu(HMENU menu, UINT flags, UINT id, const std::string& text);
bool DestroyMenu(HMENU menu);
// Shows the menu at the screen point for the owner and returns when the user has chosen or dismissed
// it. With TPM_RETURNCMD the chosen command (0 when dismissed); otherwise the owner gets the command
// as a posted WM_COMMAND (low word the command, high word 0, lParam 0) and the result is nonzero
// unless the menu or the owner does not exist.
UINT TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner);

} // namespace win
