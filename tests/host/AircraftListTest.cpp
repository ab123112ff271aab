// The installed aircraft, read from the aircraft.cfg files of a simulator root.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/AircraftList.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class AircraftListTest : public ::testing::Test {
protected:
    TempDir root;

    void aircraft(const std::string& folder, const std::string& cfg) {
        const fs::path dir = root.path() / "SimObjects" / "Airplanes" / folder;
        fs::create_directories(dir);
        std::ofstream(dir / "aircraft.cfg") << cfg;
    }
    std::vector<InstalledAircraft> list() {
        std::vector<InstalledAircraft> found;
        const std::size_t count = getAircraftList(root.path().string(), found);
        EXPECT_EQ(found.size(), count);
        return found;
    }
};

TEST_F(AircraftListTest, ListsTheVariationsOfEveryFolderInNameOrderUpToTheFirstWithoutTitle) {
    aircraft("C172", "[fltsim.0]\r\ntitle=Cessna Skyhawk 172SP Paint1\r\nui_manufacturer=Cessna\r\n"
                     "ui_type=C172SP Skyhawk\r\nui_variation=White\r\n[fltsim.1]\r\ntitle = \"Cessna Skyhawk 2\"\r\n");
    aircraft("B737_800", "[FLTSIM.0]\ntitle=Boeing 737-800 Paint1\nui_type=737-800\n"
                         "[fltsim.1]\nui_type=no title\n[fltsim.2]\ntitle=Hidden behind the gap\n");
    aircraft(".backup", "[fltsim.0]\ntitle=Not installed\n");
    aircraft("Empty", "");
    fs::create_directories(root.path() / "SimObjects" / "Airplanes" / "NoCfg");
    std::ofstream(root.path() / "SimObjects" / "Airplanes" / "readme.txt") << "a file, not a folder";

    const auto found = list();
    ASSERT_EQ(3u, found.size());
    EXPECT_EQ("Boeing 737-800 Paint1", found[0].title);
    EXPECT_EQ("737-800", found[0].type);
    EXPECT_EQ("", found[0].manufacturer);
    EXPECT_EQ("Cessna Skyhawk 172SP Paint1", found[1].title);
    EXPECT_EQ("Cessna", found[1].manufacturer);
    EXPECT_EQ("C172SP Skyhawk", found[1].type);
    EXPECT_EQ("White", found[1].variation);
    EXPECT_EQ("Cessna Skyhawk 2", found[2].title);
}

TEST_F(AircraftListTest, ARootWithoutAircraftGivesAnEmptyList) {
    std::vector<InstalledAircraft> found = {{"left over", "", "", ""}};
    EXPECT_EQ(0u, getAircraftList((root.path() / "missing").string(), found));
    EXPECT_TRUE(found.empty());
}

TEST_F(AircraftListTest, StopsAfterOneHundredVariations) {
    std::string cfg;
    for (int n = 0; n <= 100; ++n)
        cfg += "[fltsim." + std::to_string(n) + "]\ntitle=Variation " + std::to_string(n) + "\n";
    aircraft("Many", cfg);
    const auto found = list();
    ASSERT_EQ(100u, found.size());
    EXPECT_EQ("Variation 99", found.back().title);
}

} // namespace
