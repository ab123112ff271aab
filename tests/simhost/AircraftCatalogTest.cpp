// The installed aircraft as the simulator reads them from its root's aircraft.cfg files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/TempDir.h"
#include "world/AircraftCatalog.h"

namespace {

namespace fs = std::filesystem;

class AircraftCatalogTest : public ::testing::Test {
protected:
    void install(const std::string& folder, const std::string& text) {
        const fs::path path = dir.path() / "SimObjects" / "Airplanes" / folder;
        fs::create_directories(path);
        std::ofstream(path / "aircraft.cfg") << text;
    }
    AircraftCatalog load() const { return AircraftCatalog::load(dir.path().string()); }

    TempDir dir;
};

std::vector<std::string> titles(const AircraftCatalog& catalog) {
    std::vector<std::string> result;
    for (const AircraftType& type : catalog.types())
        result.push_back(type.title);
    return result;
}

TEST_F(AircraftCatalogTest, ReadsLiveriesUpToTheFirstSectionWithoutTitle) {
    install("Twin", "[fltsim.0]\ntitle=Twin Blue\natc_id=HB-ABC\n"
                    "[fltsim.1]\natc_id=HB-XYZ\n"
                    "[fltsim.2]\ntitle=Twin Red\n"
                    "[GENERAL]\ncategory=Airplane\n");
    const AircraftCatalog catalog = load();
    ASSERT_EQ(std::vector<std::string>{"Twin Blue"}, titles(catalog));
    EXPECT_EQ("HB-ABC", catalog.types()[0].tailNumber);
    EXPECT_EQ((dir.path() / "SimObjects" / "Airplanes" / "Twin").string(), catalog.types()[0].folder);
}

TEST_F(AircraftCatalogTest, FoldersComeInNameOrderWithoutHiddenOnes) {
    install("Zulu", "[fltsim.0]\ntitle=Z0\n[fltsim.1]\ntitle=Z1\n");
    install(".backup", "[fltsim.0]\ntitle=Hidden\n");
    install("Alpha", "[fltsim.0]\ntitle=A0\n");
    install("Mike", "[fltsim.0]\ntitle=M0\n");
    install("Empty", "[GENERAL]\ncategory=Airplane\n");
    fs::create_directories(dir.path() / "SimObjects" / "Airplanes" / "NoConfig");
    std::ofstream(dir.path() / "SimObjects" / "Airplanes" / "Loose.cfg") << "[fltsim.0]\ntitle=Loose\n";
    EXPECT_EQ((std::vector<std::string>{"A0", "M0", "Z0", "Z1"}), titles(load()));
}

TEST_F(AircraftCatalogTest, EveryLiveryTakesTheFolderWideKeys) {
    install("Fighter", "[fltsim.0]\ntitle=Fighter One\n[fltsim.1]\ntitle=Fighter Two\n"
                       "[GENERAL]\ncategory=Helicopter\nstatic_cg_height=6.5\nreference_height=7.25\n"
                       "cruise_speed=480\nspoilers=1\ntailhook=1\nwing_fold=1\nwater_rudder=1\n"
                       "[GeneralEngineData]\nengines=2\nprop_and_mixture=0\n"
                       "[flaps.0]\npositions=4\n[gear]\nretractable=1\n"
                       "[airplane_geometry]\nwing_span=40\nfuselage_length=50\n[views]\neyepoint=12.5, -1.5, 3\n");
    const AircraftCatalog catalog = load();
    ASSERT_EQ(2u, catalog.types().size());
    for (const AircraftType& type : catalog.types()) {
        EXPECT_EQ("Helicopter", type.category);
        EXPECT_DOUBLE_EQ(6.5, type.staticCgHeight);
        EXPECT_DOUBLE_EQ(7.25, type.referenceAboveGround);
        EXPECT_DOUBLE_EQ(480, type.cruiseSpeed);
        EXPECT_EQ(2, type.engines);
        EXPECT_EQ(4, type.flapPositions);
        EXPECT_TRUE(type.spoilers && type.tailhook && type.wingFold && type.waterRudder &&
                    type.retractableGear);
        EXPECT_FALSE(type.propAndMixture);
        EXPECT_DOUBLE_EQ(40 * 0.3048, type.spanMetres());
        EXPECT_DOUBLE_EQ(50 * 0.3048, type.lengthMetres());
        EXPECT_DOUBLE_EQ(12.5, type.eyeForward);
        EXPECT_DOUBLE_EQ(-1.5, type.eyeRight);
        EXPECT_DOUBLE_EQ(3, type.eyeUp);
    }
}

TEST_F(AircraftCatalogTest, MissingKeysTakeTheDefaults) {
    install("Plain", "[fltsim.0]\ntitle=Plain\n[GENERAL]\nstatic_cg_height=tall\n[views]\neyepoint=1, 2\n");
    const AircraftCatalog catalog = load();
    ASSERT_EQ(1u, catalog.types().size());
    const AircraftType& type = catalog.types()[0];
    const AircraftType defaults;
    EXPECT_EQ(defaults.category, type.category);
    EXPECT_EQ(defaults.engines, type.engines);
    EXPECT_EQ(defaults.flapPositions, type.flapPositions);
    EXPECT_EQ(defaults.propAndMixture, type.propAndMixture);
    EXPECT_EQ(defaults.retractableGear, type.retractableGear);
    EXPECT_DOUBLE_EQ(defaults.staticCgHeight, type.staticCgHeight);
    EXPECT_FALSE(type.tailhook || type.wingFold || type.waterRudder || type.spoilers);
    EXPECT_EQ("", type.tailNumber);
    // No geometry: the usual size of a single-engine aeroplane, and no eye point of its own.
    EXPECT_DOUBLE_EQ(11.0, type.spanMetres());
    EXPECT_DOUBLE_EQ(8.2, type.lengthMetres());
    EXPECT_TRUE(type.eyeForward == 0 && type.eyeRight == 0 && type.eyeUp == 0);
}

TEST_F(AircraftCatalogTest, FindsTitlesWithoutRegardToCase) {
    install("Twin", "[fltsim.0]\ntitle=Twin Blue\n[fltsim.1]\ntitle=Twin Red\n");
    const AircraftCatalog catalog = load();
    ASSERT_NE(nullptr, catalog.find("tWIN rED"));
    EXPECT_EQ("Twin Red", catalog.find("tWIN rED")->title);
    EXPECT_EQ(nullptr, catalog.find("Twin"));
    EXPECT_TRUE(AircraftCatalog::load((dir.path() / "nowhere").string()).types().empty());
}

// The sample root offers each kind of aircraft the add-on treats apart.
TEST(AircraftCatalogSampleTest, SampleRootHasEveryKindOfAircraft) {
    const AircraftCatalog catalog = AircraftCatalog::load(ZEPHREL_SAMPLE_SIM_ROOT);
    const auto any = [&](auto&& test) {
        return std::any_of(catalog.types().begin(), catalog.types().end(), test);
    };
    EXPECT_TRUE(any([](const AircraftType& t) {
        return t.engines == 1 && t.propAndMixture && !t.retractableGear && t.flapPositions > 0;
    })) << "single-piston trainer";
    EXPECT_TRUE(any([&](const AircraftType& t) {
        const auto liveries = std::count_if(catalog.types().begin(), catalog.types().end(),
                                            [&](const AircraftType& o) { return o.folder == t.folder; });
        return t.engines == 2 && !t.propAndMixture && t.retractableGear && t.spoilers && liveries > 1;
    })) << "twin jet in several liveries";
    EXPECT_TRUE(any([](const AircraftType& t) { return t.engines == 4; })) << "four engines";
    EXPECT_TRUE(
        any([](const AircraftType& t) { return t.category == "Helicopter" && t.flapPositions == 0; }));
    EXPECT_TRUE(any([](const AircraftType& t) {
        return t.title.find("Level-D") != std::string::npos && t.title.find("767") != std::string::npos;
    }));
    EXPECT_TRUE(any([](const AircraftType& t) { return t.tailhook && t.wingFold; })) << "carrier jet";
    EXPECT_TRUE(any([](const AircraftType& t) { return t.waterRudder; })) << "amphibian";
    for (const AircraftType& type : catalog.types()) {
        EXPECT_FALSE(type.tailNumber.empty()) << type.title;
        for (char c : type.title)
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << type.title;
    }
}

} // namespace
