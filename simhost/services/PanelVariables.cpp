#include "services/PanelVariables.h"

#include <array>
#include <cstring>

#include "services/Simulator.h"
#include "world/Aircraft.h"

namespace {

struct LightSwitch {
    const char* name;
    int bit; // of the light mask
};

constexpr std::array<LightSwitch, 13> kLevelDSwitches = {{
    {"LVLDLightNavSwitch", 0},
    {"LVLDLightBeaconSwitch", 1},
    {"LVLDLightLLNoseSwitch", 2},
    {"LVLDLightTaxiSwitch", 3},
    {"LVLDLightStrobeSwitch", 4},
    {"LVLDLightPanelSwitch", 5},
    {"LVLDLightWingSwitch", 7},
    {"LVLDLightRecogSwitch", 8},
    {"LVLDLightOvrdSwitch", 10},
    {"LVLDLightTurnLSwitch", 11},
    {"LVLDLightTurnRSwitch", 12},
    {"LVLDLightLLLeftSwitch", 13},
    {"LVLDLightLLRightSwitch", 14},
}};

// Ids count from 1 in the order of the table.
const LightSwitch* lightSwitch(const Aircraft* user, int32_t id) {
    if (user == nullptr || !PanelVariables::isLevelD767(user->type().title) || id < 1 ||
        id > static_cast<int32_t>(kLevelDSwitches.size()))
        return nullptr;
    return &kLevelDSwitches[static_cast<std::size_t>(id - 1)];
}

uint32_t lightMask(const Aircraft& user) {
    return static_cast<uint32_t>(user.quantity(HostNumbers::Quantity::LightStates));
}

void reportUnknown(const char* what, int32_t id) {
    Simulator::current()->context().wrongForms.report(std::string(what) + " of panel variable " +
                                                      std::to_string(id) + ", which does not exist");
}

} // namespace

PanelVariables::PanelVariables() {
    table_.lookupVariable = [](const char* name) {
        return lookup(Simulator::current()->world().user(), name);
    };
    table_.readVariable = [](int32_t id) {
        double value = 0;
        if (!read(Simulator::current()->world().user(), id, value))
            reportUnknown("readVariable", id);
        return value;
    };
    table_.writeVariable = [](int32_t id, double value) {
        if (!write(Simulator::current()->world().user(), id, value))
            reportUnknown("writeVariable", id);
    };
    table_.triggerKeyEvent = [](uint32_t event, uint32_t value) {
        if (Aircraft* user = Simulator::current()->world().user())
            user->keyEvent(event, value);
    };
}

bool PanelVariables::isLevelD767(const std::string& title) {
    const bool levelD = title.find("Level-D") != std::string::npos ||
                        title.find("Level D") != std::string::npos ||
                        title.find("LevelD") != std::string::npos;
    return levelD && title.find("767") != std::string::npos;
}

int32_t PanelVariables::lookup(const Aircraft* user, const char* name) {
    if (name == nullptr)
        return -1;
    for (std::size_t i = 0; i < kLevelDSwitches.size(); ++i) {
        const auto id = static_cast<int32_t>(i + 1);
        if (std::strcmp(kLevelDSwitches[i].name, name) == 0 && lightSwitch(user, id) != nullptr)
            return id;
    }
    return -1;
}

bool PanelVariables::read(const Aircraft* user, int32_t id, double& value) {
    const LightSwitch* light = lightSwitch(user, id);
    if (light == nullptr)
        return false;
    value = (lightMask(*user) >> light->bit) & 1u;
    return true;
}

bool PanelVariables::write(Aircraft* user, int32_t id, double value) {
    const LightSwitch* light = lightSwitch(user, id);
    if (light == nullptr)
        return false;
    const uint32_t bit = 1u << light->bit;
    const uint32_t mask = value != 0 ? lightMask(*user) | bit : lightMask(*user) & ~bit;
    user->setQuantity(HostNumbers::Quantity::LightStates, 0, mask);
    return true;
}
