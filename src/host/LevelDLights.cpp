#include "host/LevelDLights.h"

#include <array>

namespace LevelDLights {
namespace {

struct Switch {
    const char* name;
    int bit;
};

constexpr std::array<Switch, 13> kSwitches = {{
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

} // namespace

uint16_t read(const ZHostPanels& panels) {
    uint32_t mask = 0;
    for (const Switch& light : kSwitches) {
        const auto value = static_cast<int32_t>(panels.readVariable(panels.lookupVariable(light.name)));
        mask |= static_cast<uint32_t>(value) << light.bit;
    }
    return static_cast<uint16_t>(mask);
}

void write(const ZHostPanels& panels, uint16_t mask) {
    for (const Switch& light : kSwitches)
        panels.writeVariable(panels.lookupVariable(light.name), (mask >> light.bit) & 1 ? 1.0 : 0.0);
}

} // namespace LevelDLights
