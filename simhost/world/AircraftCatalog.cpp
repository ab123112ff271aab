#include "world/AircraftCatalog.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "profile/Profile.h"
#include "text/AsciiCase.h"

namespace {

constexpr int kMaxSections = 100;

class ConfigFile {
public:
    explicit ConfigFile(std::string path) : path_(std::move(path)) {}

    std::string text(const char* section, const char* key) const {
        char buffer[512];
        win::GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, path_.c_str());
        return buffer;
    }
    int number(const char* section, const char* key, int defaultValue) const {
        return static_cast<int32_t>(win::GetPrivateProfileIntA(section, key, defaultValue, path_.c_str()));
    }
    bool flag(const char* section, const char* key, bool defaultValue) const {
        return number(section, key, defaultValue ? 1 : 0) != 0;
    }
    // A decimal number; the default when the key is missing or does not start with one.
    double real(const char* section, const char* key, double defaultValue) const {
        const std::string value = text(section, key);
        double result = defaultValue;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
        return error == std::errc() && end != value.data() ? result : defaultValue;
    }

private:
    std::string path_;
};

// "forward, right, up" in feet; a value that is not three numbers leaves the eye where it was.
void readEyepoint(const std::string& text, AircraftType& type) {
    double values[3];
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (double& value : values) {
        while (at != end && (*at == ' ' || *at == ','))
            ++at;
        const auto [next, error] = std::from_chars(at, end, value);
        if (error != std::errc() || next == at)
            return;
        at = next;
    }
    type.eyeForward = values[0];
    type.eyeRight = values[1];
    type.eyeUp = values[2];
}

// The folder-wide description every "fltsim.N" entry of the folder shares (docs/simhost/aircraft-cfg.md).
AircraftType folderType(const ConfigFile& config, const std::string& folder) {
    AircraftType type;
    type.folder = folder;
    const std::string category = config.text("GENERAL", "category");
    if (!category.empty())
        type.category = category;
    type.engines = std::clamp(config.number("GeneralEngineData", "engines", type.engines), 0, 4);
    type.propAndMixture = config.flag("GeneralEngineData", "prop_and_mixture", type.propAndMixture);
    type.flapPositions = std::max(0, config.number("flaps.0", "positions", type.flapPositions));
    type.retractableGear = config.flag("gear", "retractable", type.retractableGear);
    type.spoilers = config.flag("GENERAL", "spoilers", type.spoilers);
    type.staticCgHeight = config.real("GENERAL", "static_cg_height", type.staticCgHeight);
    type.referenceAboveGround = config.real("GENERAL", "reference_height", type.referenceAboveGround);
    type.cruiseSpeed = config.real("GENERAL", "cruise_speed", type.cruiseSpeed);
    type.tailhook = config.flag("GENERAL", "tailhook", type.tailhook);
    type.wingFold = config.flag("GENERAL", "wing_fold", type.wingFold);
    type.waterRudder = config.flag("GENERAL", "water_rudder", type.waterRudder);
    type.wingSpan = config.real("airplane_geometry", "wing_span", type.wingSpan);
    type.length = config.real("airplane_geometry", "fuselage_length", type.length);
    readEyepoint(config.text("views", "eyepoint"), type);
    return type;
}

} // namespace

AircraftCatalog AircraftCatalog::load(const std::string& root) {
    namespace fs = std::filesystem;
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(root) / "SimObjects" / "Airplanes", error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.empty() && name[0] != '.' && it->is_directory(error))
            folders.push_back(it->path());
    }
    std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) {
        return a.filename().string() < b.filename().string();
    });

    AircraftCatalog catalog;
    for (const fs::path& folder : folders) {
        const ConfigFile config((folder / "aircraft.cfg").string());
        const AircraftType shared = folderType(config, folder.string());
        for (int n = 0; n < kMaxSections; ++n) {
            const std::string section = "fltsim." + std::to_string(n);
            AircraftType type = shared;
            type.title = config.text(section.c_str(), "title");
            if (type.title.empty())
                break;
            type.tailNumber = config.text(section.c_str(), "atc_id");
            catalog.types_.push_back(std::move(type));
        }
    }
    return catalog;
}

const AircraftType* AircraftCatalog::find(const std::string& title) const {
    for (const AircraftType& type : types_)
        if (equalsIgnoringCase(type.title, title))
            return &type;
    return nullptr;
}
