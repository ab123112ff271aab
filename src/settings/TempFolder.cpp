#include "settings/TempFolder.h"

#include <filesystem>

std::string tempPath(const GeneralSettings& settings, const std::string& name) {
    const std::filesystem::path folder = settings.tempDirectory.empty() ? std::filesystem::temp_directory_path()
                                                                        : std::filesystem::path(settings.tempDirectory);
    return (folder / name).string();
}
