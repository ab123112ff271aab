#pragma once

#include <string>

#include "winsys/Backend.h"
#include "winsys/CommonDialogs.h"

// How a file dialog treats what the user chose, whichever backend shows it (see OPENFILENAME).
namespace win {

// A typed name taken in the start folder and given the default extension when it has none.
std::string completedPath(const std::string& typed, const OPENFILENAME& request);
// Why the dialog would not accept the path; empty when it would.
std::string fileDialogRefusal(FileDialogKind kind, const std::string& path, const OPENFILENAME& request);
// With OFN_OVERWRITEPROMPT, whether an existing file may be replaced: the Yes/No box titled like
// the dialog. True when nothing needs asking.
bool overwriteAllowed(const std::string& path, const OPENFILENAME& request);
// A path the file system refuses (too long, say) counts as one that does not exist.
bool isFolder(const std::string& path);
bool isFile(const std::string& path);

} // namespace win
