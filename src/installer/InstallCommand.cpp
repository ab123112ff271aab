#include "installer/InstallCommand.h"

#include <filesystem>

namespace fs = std::filesystem;

const char* const kInstallUsage =
    "usage: zephrel-install add|remove [--appdata DIR] [--installdir DIR] [--name NAME] [--file FILE]\n"
    "                      [--product NAME]\n"
    "  add              adds the module's entry to DIR/Microsoft/FSX/dll.xml, or updates it, so that\n"
    "                   the simulator loads the module\n"
    "  remove           removes the entry again\n"
    "  --appdata DIR    the application data folder; default $APPDATA\n"
    "  --installdir DIR the folder of the module; default this program's folder when the module is\n"
    "                   there, else the folder the build wrote it to\n"
    "  --name NAME      the entry's name; default Zephrel\n"
    "  --file FILE      the module's file name; default Zephrel_FSX.so\n"
    "  --product NAME   the caption of the messages; default Zephrel\n"
    "  --help           this text\n";

namespace {

const std::map<std::string, std::string> kOptions = {{"--appdata", "AppDataFolder"},
                                                     {"--installdir", "INSTALLDIR"},
                                                     {"--name", "FSXADDONNAME"},
                                                     {"--file", "FSXADDONFILE"},
                                                     {"--product", "ProductName"}};

std::string asFolder(const std::string& folder) {
    std::string path = fs::absolute(folder).lexically_normal().string();
    if (path.back() != '/')
        path += '/';
    return path;
}

std::string moduleFolder(const InstallDefaults& defaults, const std::string& file) {
    for (const std::string& folder : defaults.moduleFolders) {
        std::error_code ignored;
        if (!folder.empty() && fs::is_regular_file(fs::path(folder) / file, ignored))
            return folder;
    }
    throw UsageError{"no " + file + " found beside this program or in the build; give --installdir"};
}

} // namespace

InstallCommand parseInstallCommand(const std::vector<std::string>& args, const InstallDefaults& defaults) {
    InstallCommand command;
    command.properties = {
        {"FSXADDONNAME", "Zephrel"}, {"FSXADDONFILE", "Zephrel_FSX.so"}, {"ProductName", "Zephrel"}};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--help") {
            command.help = true;
        } else if (word == "add" || word == "remove") {
            if (!command.action.empty())
                throw UsageError{"one action only, not " + word + " as well"};
            command.action = word == "add" ? "AddLaunchAddon" : "RemoveLaunchAddon";
        } else if (const auto option = kOptions.find(word); option != kOptions.end()) {
            if (i + 1 == args.size())
                throw UsageError{word + " needs a value"};
            command.properties[option->second] = args[++i];
        } else {
            throw UsageError{"unknown argument " + word};
        }
    }
    if (command.help)
        return command;
    if (command.action.empty())
        throw UsageError{"add or remove is required"};

    auto& appData = command.properties["AppDataFolder"];
    if (appData.empty())
        appData = defaults.appData;
    if (appData.empty())
        throw UsageError{"no application data folder: give --appdata or set APPDATA"};
    appData = asFolder(appData);
    // Removing the entry needs no module.
    auto& installDir = command.properties["INSTALLDIR"];
    if (installDir.empty() && command.action == "AddLaunchAddon")
        installDir = moduleFolder(defaults, command.properties["FSXADDONFILE"]);
    if (!installDir.empty())
        installDir = asFolder(installDir);
    return command;
}
