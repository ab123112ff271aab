#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "DataGroups.h"
#include "FlightData.h"

namespace {

struct GroupRow {
    uint32_t id;
    const char* name;
    uint32_t contBits;
    uint32_t discBits;
};

const GroupRow kGroups[] = {
    {1, "Flight Controls", 0x0001, 0},   {2, "Throttles", 0x0002, 0},
    {3, "Propellers", 0x0004, 0},        {4, "Mixtures", 0x0008, 0},
    {5, "Spoilers", 0x0010, 0},          {6, "Airspeeds", 0x0420, 0},
    {7, "Flaps", 0, 0x001},              {8, "Gear", 0, 0x002},
    {9, "Lights", 0, 0x004},             {10, "Parking Brake", 0, 0x008},
    {11, "Engines On/Off", 0, 0x010},    {12, "NAV Radios", 0, 0x020},
    {13, "COM Radios", 0, 0x040},        {14, "Smoke System", 0, 0x080},
    {15, "Autopilot On/Off", 0, 0x100},  {16, "Concorde Nose Visor", 0, 0x200},
    {17, "Main Exit", 0x0040, 0},        {18, "Tailhook", 0x0080, 0},
    {19, "Wing Fold", 0x0100, 0},        {20, "Ambient Wind", 0x0200, 0},
    {21, "Date & Time", 0x0800, 0x400},  {22, "Extended Data", 0x7000, 0},
};

const std::vector<uint32_t> kSelectionOrder = {1, 7, 5, 8, 2, 3, 4, 11, 9, 10, 14, 12, 13, 6, 15, 16, 17, 18, 19, 20, 21, 22};

std::vector<std::string> names(const std::vector<ContainedGroup>& groups) {
    std::vector<std::string> result;
    for (const ContainedGroup& g : groups)
        result.push_back(g.name);
    return result;
}

std::vector<uint32_t> ids(const std::vector<ContainedGroup>& groups) {
    std::vector<uint32_t> result;
    for (const ContainedGroup& g : groups)
        result.push_back(g.id);
    return result;
}

TEST(DataGroupTest, EachIdHasItsNameAndBits) {
    for (const GroupRow& row : kGroups) {
        SCOPED_TRACE(row.name);
        const DataGroup& g = dataGroup(row.id);
        EXPECT_EQ(g.id, row.id);
        EXPECT_STREQ(g.name, row.name);
        EXPECT_EQ(g.contBits, row.contBits);
        EXPECT_EQ(g.discBits, row.discBits);
    }
}

TEST(DataGroupTest, GroupsCoverEveryFlagBitExactlyOnce) {
    uint32_t cont = 0;
    uint32_t disc = 0;
    for (uint32_t id = 1; id <= kDataGroupCount; ++id) {
        const DataGroup& g = dataGroup(id);
        EXPECT_EQ(cont & g.contBits, 0u) << g.name;
        EXPECT_EQ(disc & g.discBits, 0u) << g.name;
        cont |= g.contBits;
        disc |= g.discBits;
    }
    EXPECT_EQ(cont, ContGroup::All);
    EXPECT_EQ(disc, DiscGroup::All);
}

TEST(DataGroupTest, SelectionOrderListsEveryGroupOnceInDialogOrder) {
    std::span<const uint32_t> order = dataGroupSelectionOrder();
    EXPECT_EQ(std::vector<uint32_t>(order.begin(), order.end()), kSelectionOrder);
}

// ---- What a stored track contains -------------------------------------------------------------

TEST(ContainedDataGroupsTest, EmptyTrackContainsNothing) { EXPECT_TRUE(containedDataGroups(0, 0).empty()); }

TEST(ContainedDataGroupsTest, FullTrackListsAllGroupsInSelectionOrder) {
    std::vector<ContainedGroup> groups = containedDataGroups(ContGroup::All, DiscGroup::All);
    EXPECT_EQ(ids(groups), kSelectionOrder);
    for (const ContainedGroup& g : groups)
        EXPECT_EQ(g.name, dataGroup(g.id).name);
}

TEST(ContainedDataGroupsTest, PartialTrackKeepsSelectionOrderNotBitOrder) {
    std::vector<ContainedGroup> groups = containedDataGroups(
        ContGroup::FlightControls | ContGroup::Throttles | ContGroup::AmbientWind, DiscGroup::Gear | DiscGroup::Flaps);
    EXPECT_EQ(names(groups),
              (std::vector<std::string>{"Flight Controls", "Flaps", "Gear", "Throttles", "Ambient Wind"}));
}

TEST(ContainedDataGroupsTest, DateAndTimeIsNamedByWhichHalvesArePresent) {
    struct Case {
        uint32_t cont;
        uint32_t disc;
        const char* name;
    };
    const Case cases[] = {
        {ContGroup::TimeOfDay, DiscGroup::Date, "Date & Time"},
        {0, DiscGroup::Date, "Date"},
        {ContGroup::TimeOfDay, 0, "Time"},
    };
    for (const Case& c : cases) {
        std::vector<ContainedGroup> groups = containedDataGroups(c.cont, c.disc);
        ASSERT_EQ(groups.size(), 1u) << c.name;
        EXPECT_EQ(groups[0].id, 21u);
        EXPECT_EQ(groups[0].name, c.name);
    }
}

TEST(ContainedDataGroupsTest, AnyExtendedBitShowsExtendedDataOnce) {
    for (uint32_t bits : {0x1000u, 0x2000u, 0x4000u, 0x3000u, 0x7000u}) {
        std::vector<ContainedGroup> groups = containedDataGroups(bits, 0);
        ASSERT_EQ(groups.size(), 1u) << bits;
        EXPECT_EQ(groups[0].id, 22u);
        EXPECT_EQ(groups[0].name, "Extended Data");
    }
}

TEST(ContainedDataGroupsTest, AirspeedsAndMachShowAsOneGroup) {
    std::vector<ContainedGroup> groups = containedDataGroups(ContGroup::Airspeeds | ContGroup::Mach, 0);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].id, 6u);
    EXPECT_EQ(groups[0].name, "Airspeeds");
}

// ---- Masks from a selection ---------------------------------------------------------------------

TEST(MasksFromSelectionTest, MasksHoldExactlyTheSelectedGroups) {
    struct Case {
        const char* what;
        std::vector<uint32_t> selected;
        uint32_t cont;
        uint32_t disc;
    };
    const Case cases[] = {
        {"nothing", {}, 0, 0},
        {"airspeeds sets IAS/TAS and Mach", {6}, 0x0420, 0},
        {"date and time sets both halves", {21}, 0x0800, 0x400},
        {"extended data alone keeps nothing", {22}, 0, 0},
        {"extended controls need flight controls", {22, 1}, 0x1001, 0},
        {"extended flaps need flaps", {22, 7}, 0x2000, 0x001},
        {"extended gear needs gear", {8, 22}, 0x4000, 0x002},
        {"extended without gear", {1, 7, 22}, 0x3001, 0x001},
        {"extended with all bases", {22, 8, 7, 1}, 0x7001, 0x003},
        {"flight controls alone get no extended bits", {1}, 0x0001, 0},
        {"mixed", {2, 11, 13, 20}, 0x0202, 0x050},
        {"duplicates", {5, 5, 9, 9}, 0x0010, 0x004},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DataMasks masks = masksFromSelection(c.selected);
        EXPECT_EQ(masks.contFlags, c.cont);
        EXPECT_EQ(masks.discFlags, c.disc);
    }
}

TEST(MasksFromSelectionTest, SelectingEveryGroupSetsEveryBitInAnyOrder) {
    std::vector<uint32_t> all = kSelectionOrder;
    DataMasks forward = masksFromSelection(all);
    EXPECT_EQ(forward.contFlags, ContGroup::All);
    EXPECT_EQ(forward.discFlags, DiscGroup::All);
    std::reverse(all.begin(), all.end());
    DataMasks backward = masksFromSelection(all);
    EXPECT_EQ(backward.contFlags, ContGroup::All);
    EXPECT_EQ(backward.discFlags, DiscGroup::All);
}

TEST(MasksFromSelectionTest, LeavingOutAirspeedsClearsBothBits) {
    std::vector<uint32_t> all = kSelectionOrder;
    all.erase(std::find(all.begin(), all.end(), 6u));
    DataMasks masks = masksFromSelection(all);
    EXPECT_EQ(masks.contFlags & (ContGroup::Airspeeds | ContGroup::Mach), 0u);
    EXPECT_EQ(masks.contFlags, ContGroup::All & ~0x0420u);
}

TEST(MasksFromSelectionTest, SelectionOfContainedGroupsGivesTheTrackMasksBack) {
    const std::pair<uint32_t, uint32_t> tracks[] = {
        {0x7fff, 0x7ff}, {0x0423, 0x013}, {0x0800, 0x400}, {0x5001, 0x002}, {0x0000, 0x0a0},
    };
    for (const auto& [cont, disc] : tracks) {
        SCOPED_TRACE(cont);
        DataMasks masks = masksFromSelection(ids(containedDataGroups(cont, disc)));
        EXPECT_EQ(masks.contFlags, cont);
        EXPECT_EQ(masks.discFlags, disc);
    }
}

} // namespace
