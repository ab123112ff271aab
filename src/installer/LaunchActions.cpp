#include "installer/LaunchActions.h"

#include <filesystem>

#include "installer/LaunchList.h"
#include "installer/SessionProperties.h"
#include "installer/XmlDocument.h"
#include "winsys/Dialogs.h"

namespace fs = std::filesystem;

namespace {

constexpr PropertyRead kAddonName{"FSXADDONNAME", 50};
constexpr PropertyRead kAddonFile{"FSXADDONFILE", 260};
constexpr PropertyRead kInstallDir{"INSTALLDIR", 260};
constexpr PropertyRead kAppDataFolder{"AppDataFolder", 260};
constexpr PropertyRead kProductName{"ProductName", 260};
constexpr const char* kAddResult = "FSXADDLAUNCHRESULT";
constexpr const char* kRemoveResult = "FSXREMOVELAUNCHRESULT";

constexpr const char* kRemoveFailed = "Launch addon entry could not be removed from dll.xml file!";

// The installer's folders end with a separator; one given without it gets it.
std::string inFolder(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

// The simulator makes the folder of its dll.xml when it first runs; an add-on installed before
// that makes it, but only below an application data folder that is there.
void makeFolderOf(const std::string& file, const std::string& appDataFolder) {
    if (fs::is_directory(appDataFolder))
        fs::create_directories(fs::path(file).parent_path());
}

} // namespace

uint32_t addLaunchAddon(MSIHANDLE install) {
    const std::string name = readProperty(install, kAddonName);
    const std::string file = readProperty(install, kAddonFile);
    const std::string installDir = readProperty(install, kInstallDir);
    const std::string appData = readProperty(install, kAppDataFolder);
    setProperty(install, kAddResult, "0");

    // Only a missing file starts a new list: one that does not load holds other add-ons' entries.
    const std::string path = LaunchList::filePath(appData);
    XmlDocument list = exists(path) ? XmlDocument::load(path) : LaunchList::create();
    LaunchList::addEntry(list, name, inFolder(installDir, file));
    makeFolderOf(path, appData);
    list.save(path);

    setProperty(install, kAddResult, "1");
    return ERROR_SUCCESS;
}

uint32_t removeLaunchAddon(MSIHANDLE install) {
    const std::string name = readProperty(install, kAddonName);
    const std::string appData = readProperty(install, kAppDataFolder);
    const std::string product = readProperty(install, kProductName);
    setProperty(install, kRemoveResult, "0");

    try {
        const std::string path = LaunchList::filePath(appData);
        XmlDocument list = XmlDocument::load(path);
        LaunchList::removeEntry(list, name);
        list.save(path);
    } catch (...) {
        // The installer runs outside the simulator: the box has no owner.
        win::MessageBox(nullptr, kRemoveFailed, product, win::MB_OK | win::MB_ICONWARNING);
        throw;
    }

    setProperty(install, kRemoveResult, "1");
    return ERROR_SUCCESS;
}
