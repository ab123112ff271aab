#include "host/AircraftList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "profile/ProfileValues.h"

namespace {
constexpr int kMaxVariations = 100;
} // namespace

std::size_t getAircraftList(const std::string& root, std::vector<InstalledAircraft>& list) {
    namespace fs = std::filesystem;
    list.clear();
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(root) / "SimObjects" / "Airplanes", error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(".") && it->is_directory(error))
            folders.push_back(it->path());
    }
    // Directory order is the file system's; name order is the same on every machine.
    std::sort(folders.begin(), folders.end());

    for (const fs::path& folder : folders) {
        const std::string cfg = (folder / "aircraft.cfg").string();
        for (int n = 0; n < kMaxVariations; ++n) {
            const std::string section = "fltsim." + std::to_string(n);
            InstalledAircraft aircraft;
            aircraft.title = profile::readString(cfg, section.c_str(), "title", "");
            if (aircraft.title.empty())
                break;
            aircraft.manufacturer = profile::readString(cfg, section.c_str(), "ui_manufacturer", "");
            aircraft.type = profile::readString(cfg, section.c_str(), "ui_type", "");
            aircraft.variation = profile::readString(cfg, section.c_str(), "ui_variation", "");
            list.push_back(std::move(aircraft));
        }
    }
    return list.size();
}
