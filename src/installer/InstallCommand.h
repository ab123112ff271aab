#pragma once

#include <map>
#include <string>
#include <vector>

// The command line of zephrel-install: which custom action to run and the installer properties
// to run it with, each given or defaulted:
//   AppDataFolder  --appdata DIR, else $APPDATA (the folder the simulator reads dll.xml below and
//                  tells its add-ons in that variable)
//   INSTALLDIR     --installdir DIR, else the first of these folders that holds FSXADDONFILE:
//                  this program's own (an installed copy beside the module), the build's folder
//                  of the module (needed only to add the entry)
//   FSXADDONNAME   --name NAME, else "Zephrel"
//   FSXADDONFILE   --file FILE, else "Zephrel_FSX.so"
//   ProductName    --product NAME, else "Zephrel"
// Folders are made absolute and end with a separator, as the installer gives them.
struct InstallCommand {
    bool help = false;
    std::string action; // the export: "AddLaunchAddon" or "RemoveLaunchAddon"
    std::map<std::string, std::string> properties;
};

struct UsageError {
    std::string what;
};

struct InstallDefaults {
    std::string appData;                    // empty: none
    std::vector<std::string> moduleFolders; // searched in order
};

extern const char* const kInstallUsage;

// UsageError for anything but one action with known options, each with a value, and for a
// folder that has no default.
InstallCommand parseInstallCommand(const std::vector<std::string>& args, const InstallDefaults& defaults);
