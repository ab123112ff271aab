#include "winsys/FileDialogRules.h"

#include <filesystem>

#include "winsys/Dialogs.h"

namespace win {

namespace {

namespace fs = std::filesystem;

bool exists(const fs::path& path) {
    std::error_code refused;
    return fs::exists(path, refused);
}

} // namespace

bool isFolder(const std::string& path) {
    std::error_code refused;
    return fs::is_directory(path, refused);
}

bool isFile(const std::string& path) {
    std::error_code refused;
    return fs::is_regular_file(path, refused);
}

std::string completedPath(const std::string& typed, const OPENFILENAME& request) {
    fs::path path(typed);
    if (path.is_relative() && !request.initialDir.empty())
        path = fs::path(request.initialDir) / path;
    if (!path.has_extension() && !request.defExt.empty())
        path += "." + request.defExt;
    return path.string();
}

std::string fileDialogRefusal(FileDialogKind kind, const std::string& path, const OPENFILENAME& request) {
    const fs::path folder = fs::path(path).parent_path();
    if ((request.flags & OFN_PATHMUSTEXIST) != 0 && !folder.empty() && !isFolder(folder.string()))
        return "the folder of " + path + " does not exist";
    if (kind == FileDialogKind::Open && (request.flags & OFN_FILEMUSTEXIST) != 0 && !isFile(path))
        return path + " does not exist";
    return {};
}

bool overwriteAllowed(const std::string& path, const OPENFILENAME& request) {
    if ((request.flags & OFN_OVERWRITEPROMPT) == 0 || !exists(path))
        return true;
    const std::string caption = request.title.empty() ? "Save As" : request.title;
    const std::string text =
        fs::path(path).filename().string() + " already exists.\nDo you want to replace it?";
    return MessageBox(request.hwndOwner, text, caption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

} // namespace win
