#include "app/TempRecordFiles.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "common/Log.h"

namespace fs = std::filesystem;

namespace {

// The files named `base` + "." + something, with that something.
std::vector<std::pair<fs::path, std::string>> filesOf(const fs::path& base) {
    std::vector<std::pair<fs::path, std::string>> found;
    const std::string prefix = base.filename().string() + ".";
    std::error_code error;
    for (fs::directory_iterator it(base.parent_path(), error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 && it->is_regular_file(error))
            found.emplace_back(it->path(), name.substr(prefix.size()));
    }
    return found;
}

// A rename cannot cross file systems, and the temporary folder is often on another one than the
// recordings: then the file is copied and the original removed.
bool moveFile(const fs::path& source, const fs::path& target) {
    std::error_code error;
    fs::rename(source, target, error);
    if (!error)
        return true;
    if (!fs::copy_file(source, target, fs::copy_options::overwrite_existing, error))
        return false;
    fs::remove(source, error);
    return true;
}

} // namespace

std::vector<std::string> moveTempRecordFiles(const std::string& base, const std::string& recordingName) {
    std::vector<std::string> moved;
    for (const auto& [source, extension] : filesOf(base)) {
        if (recordingName.empty()) {
            std::error_code ignored;
            fs::remove(source, ignored);
            continue;
        }
        const std::string target = recordingName + "." + extension;
        if (moveFile(source, target))
            moved.push_back(target);
        else
            Log::log("Warning: Failed to move file '" + source.string() + "' to '" + target + "'", 1, false);
    }
    return moved;
}
