#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "winsys/Backend.h"
#include "winsys/CommonDialogs.h"
#include "winsys/Menus.h"

// The interactions that wait for the user, as GTK shows them, over the owner's GTK window.
namespace desktop {

int showMessageBox(GtkWindow* owner, const std::string& text, const std::string& caption, win::UINT type);
std::vector<std::string> showFileChooser(GtkWindow* owner, win::FileDialogKind kind,
                                         const win::OPENFILENAME& request);
std::string showFolderChooser(GtkWindow* owner, const win::BROWSEINFO& request);
// The chosen command, 0 when the menu was dismissed; `at` is a point of the screen.
win::UINT showPopupMenu(GtkWindow* owner, const std::vector<win::MenuItem>& items, win::POINT at);

} // namespace desktop
