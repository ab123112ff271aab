#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/DataGroups.h"
#include "common/FlightData.h"

namespace {

const std::vector<uint32_t> kSelectionOrder = {1,  7,  5,  8,  2,  3,  4,  11, 9,  10, 14,
                                               12, 13, 6,  15, 16, 17, 18, 19, 20, 21, 22};

// "id name" of each group a track holds.
std::string describe(const std::vector<ContainedGroup>& groups) {
    std::string text;
    for (const ContainedGroup& g : groups)
        text += (text.empty() ? "" : ", ") + std::to_string(g.id) + " " + g.name;
    return text;
}

std::vector<uint32_t> ids(const std::vector<ContainedGroup>& groups) {
    std::vector<uint32_t> result;
    for (const ContainedGroup& g : groups)
        result.push_back(g.id);
    return result;
}

// Each flag bit on its own names the group it belongs to; Mach belongs to the airspeeds, the
// extended bits to one group, and each half of "Date & Time" is named for itself.
TEST(DataGroupTest, EachFlagBitBelongsToItsNamedGroup) {
    const char* const cont[] = {"1 Flight Controls", "2 Throttles", "3 Propellers", "4 Mixtures", "5 Spoilers",
                                "6 Airspeeds",       "17 Main Exit", "18 Tailhook", "19 Wing Fold", "20 Ambient Wind",
                                "6 Airspeeds",       "21 Time",      "22 Extended Data", "22 Extended Data",
                                "22 Extended Data"};
    const char* const disc[] = {"7 Flaps",          "8 Gear",         "9 Lights",      "10 Parking Brake",
                                "11 Engines On/Off", "12 NAV Radios", "13 COM Radios", "14 Smoke System",
                                "15 Autopilot On/Off", "16 Concorde Nose Visor", "21 Date"};
    for (uint32_t i = 0; i < std::size(cont); ++i)
        EXPECT_EQ(cont[i], describe(containedDataGroups(1u << i, 0))) << "continuous bit " << i;
    for (uint32_t i = 0; i < std::size(disc); ++i)
        EXPECT_EQ(disc[i], describe(containedDataGroups(0, 1u << i))) << "discrete bit " << i;
    for (uint32_t id = 1; id <= kDataGroupCount; ++id)
        EXPECT_EQ(id, dataGroup(id).id);
    EXPECT_EQ("21 Date & Time", describe(containedDataGroups(ContGroup::TimeOfDay, DiscGroup::Date)));
    EXPECT_EQ("22 Extended Data", describe(containedDataGroups(ContGroup::ExtendedControls | ContGroup::ExtendedGear, 0)));
    EXPECT_TRUE(containedDataGroups(0, 0).empty());
}

TEST(DataGroupTest, GroupsAreListedInDialogOrderNotBitOrder) {
    std::span<const uint32_t> order = dataGroupSelectionOrder();
    EXPECT_EQ(kSelectionOrder, std::vector<uint32_t>(order.begin(), order.end()));
    EXPECT_EQ(kSelectionOrder, ids(containedDataGroups(ContGroup::All, DiscGroup::All)));
    EXPECT_EQ("1 Flight Controls, 7 Flaps, 8 Gear, 2 Throttles, 20 Ambient Wind",
              describe(containedDataGroups(ContGroup::FlightControls | ContGroup::Throttles | ContGroup::AmbientWind,
                                           DiscGroup::Gear | DiscGroup::Flaps)));
}

std::vector<uint32_t> allBut(uint32_t id) {
    std::vector<uint32_t> all = kSelectionOrder;
    all.erase(std::find(all.begin(), all.end(), id));
    return all;
}

TEST(MasksFromSelectionTest, MasksHoldExactlyTheSelectedGroups) {
    const struct {
        const char* what;
        std::vector<uint32_t> selected;
        uint32_t cont;
        uint32_t disc;
    } cases[] = {
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
        {"every group", kSelectionOrder, ContGroup::All, DiscGroup::All},
        {"every group, reversed", {kSelectionOrder.rbegin(), kSelectionOrder.rend()}, ContGroup::All, DiscGroup::All},
        {"all but airspeeds", allBut(6), ContGroup::All & ~0x0420u, DiscGroup::All},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DataMasks masks = masksFromSelection(c.selected);
        EXPECT_EQ(c.cont, masks.contFlags);
        EXPECT_EQ(c.disc, masks.discFlags);
    }
}

TEST(MasksFromSelectionTest, SelectionOfContainedGroupsGivesTheTrackMasksBack) {
    const std::pair<uint32_t, uint32_t> tracks[] = {
        {0x7fff, 0x7ff}, {0x0423, 0x013}, {0x0800, 0x400}, {0x5001, 0x002}, {0x0000, 0x0a0},
    };
    for (const auto& [cont, disc] : tracks) {
        SCOPED_TRACE(cont);
        DataMasks masks = masksFromSelection(ids(containedDataGroups(cont, disc)));
        EXPECT_EQ(cont, masks.contFlags);
        EXPECT_EQ(disc, masks.discFlags);
    }
}

} // namespace
