// Runs of the simulator as a scenario describes them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScenarioError.h"
#include "ScenarioParser.h"
#include "ScenarioRunner.h"
#include "TempDir.h"
#include "addons/TestAddonEvents.h"
#include "winsys/HeadlessScript.h"

namespace {

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

TEST(ScenarioRunnerTest, TheCommandLineGoesOverTheScenariosSettings) {
    const Scenario scenario =
        parseScenario("root /sim\nappdata /data\nhost-version 10.0.60905.0\nframe-step 0.05\n"
                      "traffic 20\nuser-aircraft \"Trainer\"\nstart 1 2 3 4\n"
                      "date-time 2020-01-02 03:04:05\n");
    const SimulatorSetup plain = ScenarioRunner(scenario).setup();
    EXPECT_EQ("/sim", plain.root);
    EXPECT_EQ("/sim/Flights", plain.flightsFolder);
    EXPECT_EQ(HostVersion::accepted(0), plain.version);
    EXPECT_EQ(0.05, plain.frameStep);
    EXPECT_EQ(20u, plain.trafficPercent);
    EXPECT_EQ("Trainer", plain.userTitle);
    EXPECT_EQ(4, plain.start.heading);
    EXPECT_EQ(2020, plain.dateTime.year);
    EXPECT_EQ(5, plain.dateTime.second);
    EXPECT_EQ("/data", ScenarioRunner(scenario).appdata());

    const ScenarioRunner overridden(scenario, RunOverrides{"/other", "/elsewhere", HostVersion::accepted(4)});
    EXPECT_EQ("/other", overridden.setup().root);
    EXPECT_EQ("/other/Flights", overridden.setup().flightsFolder);
    EXPECT_EQ(HostVersion::accepted(4), overridden.setup().version);
    EXPECT_EQ("/elsewhere", overridden.appdata());

    EXPECT_EQ(SimulatorSetup{}.frameStep, ScenarioRunner(parseScenario("root /sim")).setup().frameStep);
    EXPECT_EQ("", ScenarioRunner(parseScenario("root /sim")).appdata());
    EXPECT_THROW(ScenarioRunner(parseScenario("flights /f")).setup(), ScenarioError);
}

TEST(ScenarioRunnerTest, RunsAScenarioWithAnAddOnToItsEnd) {
    win::headless::reset();
    testAddonEvents().clear();
    TempDir dir;
    writeFile(dir.path() / "root/SimObjects/Airplanes/Trainer/aircraft.cfg",
              "[fltsim.0]\ntitle=Test Trainer\natc_id=N172TT\n\n[GENERAL]\ncategory=Airplane\n");
    writeFile(dir.path() / "appdata/Microsoft/FSX/dll.xml",
              "<SimBase.Document><Launch.Addon><Name>Test</Name><Path>" +
                  std::string(ZEPHREL_TEST_ADDON_ROOT) +
                  "/Modules/TestAddon.so</Path></Launch.Addon></SimBase.Document>");
    const std::string text = "root root\nappdata appdata\nframe-step 0.1\nduration 10\n"
                             "at 0 fly start-engines\n"
                             "at 0.5 key press E\n"              // the add-on shows an error box
                             "at 1 menu \"Zephrel/Record...\"\n" // line 7
                             "at 1 load flight none\n"           // line 8
                             "at 1.5 save flight saved \"Saved\" \"By the test\"\n"
                             "at 2 pause on\nat 2.5 pause off\n"
                             "at 3 answer box OK \"never shown\"\n"
                             "at 4 close\n";
    ScenarioRunner runner(parseScenario(text, dir.path().string()));
    std::vector<RunProgress> progress;
    const RunSummary summary = runner.run([&](const RunProgress& p) { progress.push_back(p); });

    EXPECT_EQ(std::vector<std::string>{"Test"}, summary.addons);
    EXPECT_TRUE(summary.loaderErrors.empty());
    EXPECT_EQ(1u, summary.errorBoxes);
    EXPECT_FALSE(summary.simulatorErrors.empty()) << "the flight that cannot be loaded";
    ASSERT_EQ(3u, summary.scenarioErrors.size());
    EXPECT_EQ("scenario line 7: no menu item \"Zephrel/Record...\"", summary.scenarioErrors[0]);
    EXPECT_EQ(0u, summary.scenarioErrors[1].find("scenario line 8: ")) << summary.scenarioErrors[1];
    EXPECT_NE(std::string::npos, summary.scenarioErrors[2].find("never used")) << summary.scenarioErrors[2];
    EXPECT_FALSE(summary.succeeded());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "root/Flights/saved.flt"));

    // Closed at 4 s, long before the duration: the run ends with the frame that saw it closed.
    EXPECT_GE(summary.runSeconds, 4.0);
    EXPECT_LT(summary.runSeconds, 5.0);
    EXPECT_GE(summary.aircraftSeen, 1u);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(summary.frames, progress.back().frames);
    EXPECT_EQ(10, progress.back().duration);

    // The add-on saw the main window when it started, and was stopped before it was unloaded.
    const TestAddonEvents& events = testAddonEvents();
    ASSERT_EQ(4u, events.size());
    EXPECT_EQ("start", events[0].first);
    EXPECT_NE(nullptr, events[0].second);
    EXPECT_EQ(
        (TestAddonEvents{
            events[0], {"subclassed", events[0].second}, {"stop", events[0].second}, {"unloaded", nullptr}}),
        events);
}

} // namespace
