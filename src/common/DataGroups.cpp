#include "common/DataGroups.h"

#include <array>
#include <cassert>

#include "common/FlightData.h"

namespace {

constexpr uint32_t kExtendedBits = ContGroup::ExtendedControls | ContGroup::ExtendedFlaps | ContGroup::ExtendedGear;

constexpr std::array<DataGroup, kDataGroupCount> kGroups = {{
    {1, "Flight Controls", ContGroup::FlightControls, 0},
    {2, "Throttles", ContGroup::Throttles, 0},
    {3, "Propellers", ContGroup::Propellers, 0},
    {4, "Mixtures", ContGroup::Mixtures, 0},
    {5, "Spoilers", ContGroup::Spoilers, 0},
    {6, "Airspeeds", ContGroup::Airspeeds | ContGroup::Mach, 0},
    {7, "Flaps", 0, DiscGroup::Flaps},
    {8, "Gear", 0, DiscGroup::Gear},
    {9, "Lights", 0, DiscGroup::Lights},
    {10, "Parking Brake", 0, DiscGroup::ParkingBrake},
    {11, "Engines On/Off", 0, DiscGroup::Engines},
    {12, "NAV Radios", 0, DiscGroup::NavRadios},
    {13, "COM Radios", 0, DiscGroup::ComRadios},
    {14, "Smoke System", 0, DiscGroup::Smoke},
    {15, "Autopilot On/Off", 0, DiscGroup::Autopilot},
    {16, "Concorde Nose Visor", 0, DiscGroup::NoseVisor},
    {17, "Main Exit", ContGroup::MainExit, 0},
    {18, "Tailhook", ContGroup::Tailhook, 0},
    {19, "Wing Fold", ContGroup::WingFold, 0},
    {20, "Ambient Wind", ContGroup::AmbientWind, 0},
    {21, "Date & Time", ContGroup::TimeOfDay, DiscGroup::Date},
    {22, "Extended Data", kExtendedBits, 0},
}};

constexpr std::array<uint32_t, kDataGroupCount> kSelectionOrder = {1,  7,  5,  8,  2,  3,  4,  11, 9,  10, 14,
                                                                   12, 13, 6,  15, 16, 17, 18, 19, 20, 21, 22};

constexpr uint32_t kDateAndTime = 21;

} // namespace

const DataGroup& dataGroup(uint32_t id) {
    assert(id >= 1 && id <= kDataGroupCount && "data group ids run from 1 to 22");
    return kGroups[id - 1];
}

std::span<const uint32_t> dataGroupSelectionOrder() { return kSelectionOrder; }

std::vector<ContainedGroup> containedDataGroups(uint32_t contFlags, uint32_t discFlags) {
    std::vector<ContainedGroup> groups;
    for (uint32_t id : kSelectionOrder) {
        const DataGroup& group = dataGroup(id);
        bool hasCont = (contFlags & group.contBits) != 0;
        bool hasDisc = (discFlags & group.discBits) != 0;
        if (!hasCont && !hasDisc)
            continue;
        if (id == kDateAndTime && !(hasCont && hasDisc))
            groups.push_back({id, hasDisc ? "Date" : "Time"});
        else
            groups.push_back({id, group.name});
    }
    return groups;
}

DataMasks masksFromSelection(std::span<const uint32_t> selectedIds) {
    DataMasks masks;
    for (uint32_t id : selectedIds) {
        const DataGroup& group = dataGroup(id);
        masks.contFlags |= group.contBits;
        masks.discFlags |= group.discBits;
    }
    if (!(masks.contFlags & ContGroup::FlightControls))
        masks.contFlags &= ~ContGroup::ExtendedControls;
    if (!(masks.discFlags & DiscGroup::Flaps))
        masks.contFlags &= ~ContGroup::ExtendedFlaps;
    if (!(masks.discFlags & DiscGroup::Gear))
        masks.contFlags &= ~ContGroup::ExtendedGear;
    return masks;
}
