// Runs of the simulator as a scenario describes them.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "addons/TestAddonEvents.h"
#include "modules/HostModules.h"
#include "modules/HostNumbers.h"
#include "run/ScenarioError.h"
#include "run/ScenarioParser.h"
#include "run/ScenarioRunner.h"
#include "support/TempDir.h"
#include "winsys/CommonDialogs.h"
#include "winsys/HeadlessScript.h"
#include "winsys/LocalTime.h"
#include "winsys/WindowApi.h"

namespace {

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A simulator root with one airplane, "Test Trainer".
void writeRoot(const TempDir& dir) {
    writeFile(dir.path() / "root/SimObjects/Airplanes/Trainer/aircraft.cfg",
              "[fltsim.0]\ntitle=Test Trainer\natc_id=N172TT\n\n[GENERAL]\ncategory=Airplane\n");
}

// What a host module of the run's host version (the default one) offers at that role.
template <typename Fn> Fn hostEntry(const char* module, int role) {
    const int version = 3;
    const ZHostModule* m = zhostGetModule(module);
    return reinterpret_cast<Fn>(m->entry(m, HostNumbers::entry(version, role)));
}

// As an add-on shows its status: a text resource drawn into the main view in every frame.
uint32_t statusText = 0;
void drawStatus(uint32_t, uintptr_t view, uintptr_t) {
    const auto draw = hostEntry<ZHostDrawTextFn>("window.dll", HostNumbers::Window::DrawText);
    draw(reinterpret_cast<ZHostView*>(view), statusText, 10, 10, 9);
}

TEST(ScenarioRunnerTest, TheLocalTimeRunsWithTheRunTimeAcrossDayMonthAndYear) {
    win::headless::reset();
    TempDir dir;
    writeRoot(dir);
    const std::string text = "root root\nframe-step 0.3\nduration 3\nlocal-time 1999-12-31 23:59:58.500\n";
    ScenarioRunner runner(parseScenario(text, dir.path().string()));
    std::vector<win::SYSTEMTIME> seen; // by frame: what the frame read
    runner.run([&](const RunProgress&) { win::GetLocalTime(seen.emplace_back()); });

    // 3 and 9 frames of 0.3 s come to just under 0.9 s and 2.7 s in floating point.
    ASSERT_EQ(10u, seen.size());
    EXPECT_EQ((win::SYSTEMTIME{1999, 12, 5, 31, 23, 59, 58, 500}), seen[0]);
    EXPECT_EQ((win::SYSTEMTIME{1999, 12, 5, 31, 23, 59, 59, 400}), seen[3]);
    EXPECT_EQ((win::SYSTEMTIME{2000, 1, 6, 1, 0, 0, 0, 0}), seen[5]);
    EXPECT_EQ((win::SYSTEMTIME{2000, 1, 6, 1, 0, 0, 1, 200}), seen[9]);
    win::SYSTEMTIME after;
    win::GetLocalTime(after);
    EXPECT_LT(2000, after.wYear) << "the machine's clock again after the run";
}

// A real-time run keeps the clock's pace, and delivers what was posted to its windows between
// frames as a message loop does: here the close of its main window.
TEST(ScenarioRunnerTest, ARealTimeRunTakesEachFrameOnTheClockAndRunsTheMessageLoop) {
    win::headless::reset();
    TempDir dir;
    writeRoot(dir);
    RunOverrides overrides;
    overrides.realTime = true;
    ScenarioRunner runner(parseScenario("root root\nframe-step 0.05\nduration 10\n", dir.path().string()),
                          overrides);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point started = Clock::now();
    std::vector<double> seconds; // by frame: when it ended, from the start
    const RunSummary summary = runner.run([&](const RunProgress& progress) {
        seconds.push_back(std::chrono::duration<double>(Clock::now() - started).count());
        if (progress.frames == 6)
            win::PostMessage(win::FindWindow("FS98MAIN", nullptr), win::WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(6u, summary.frames) << "closed through the message posted after frame 6";
    ASSERT_EQ(6u, seconds.size());
    for (std::size_t frame = 1; frame < seconds.size(); ++frame)
        EXPECT_GE(seconds[frame], 0.05 * static_cast<double>(frame) - 0.002) << "frame " << frame + 1;
}

// Each kind of check, holding and failing: only the failures are scenario errors, with their lines.
TEST(ScenarioRunnerTest, ChecksWhatTheRunShows) {
    win::headless::reset();
    TempDir dir;
    writeRoot(dir);
    const std::string chime = (dir.path() / "chime.wav").string();
    writeFile(chime, "RIFF");
    const std::string text = "root root\nframe-step 0.1\nduration 3\n" // lines 1-3
                             "at 0 expect status none\n"
                             "at 0 expect status \"RECORDING [3 seconds]\"\n"
                             "at 0 expect aircraft 0\n"
                             "at 0.1 expect status none\n" // the frame that drew it comes next
                             "at 0.2 expect status \"RECORDING [3 seconds]\"\n"
                             "at 0.2 expect status \"PLAYBACK\"\n" // line 9
                             "at 0.2 expect status none\n"
                             "at 0.5 expect message \"Saved\"\n"
                             "at 0.5 expect message none\n"
                             "at 2 expect message none\n"
                             "at 2 expect message \"Saved\"\n" // line 14
                             "at 0.5 expect aircraft 1\n"
                             "at 0.5 expect aircraft 0\n"
                             "at 1 expect menu \"Flights/Load Flight...\" present\n"
                             "at 1 expect menu \"Flights/Load Flight...\" enabled\n"
                             "at 1 expect menu \"Flights/Load Flight...\" disabled\n" // line 19
                             "at 1 expect menu \"Flights/Load Flight...\" missing\n"
                             "at 1 expect menu \"Views/Full Screen\" unchecked\n"
                             "at 1 expect menu \"Views/Full Screen\" checked\n"
                             "at 1 expect menu Zephrel missing\n"
                             "at 1 expect menu \"Zephrel\" present\n" // line 24
                             "at 1 expect sound none\n"
                             "at 1 expect paused off\n"
                             "at 2.8 expect sound \"" +
                             chime +
                             "\"\n"
                             "at 2.8 expect sound none\n" // line 28
                             "at 2.8 expect paused on\n"
                             "at 2.8 expect paused off\n"; // line 30
    ScenarioRunner runner(parseScenario(text, dir.path().string()));
    // After the first frame: a status drawn from the next frame on, a message for a second, an AI
    // aircraft; from 2.5 s a sound that was stopped once, and a pause.
    const RunSummary summary = runner.run([&](const RunProgress& progress) {
        if (progress.frames == 25) {
            win::sndPlaySound(chime.c_str(), win::SND_ASYNC);
            win::sndPlaySound(nullptr, 0);
            win::sndPlaySound(chime.c_str(), win::SND_ASYNC);
            Simulator::current()->setPaused(true);
        }
        if (progress.frames != 1)
            return;
        const auto create = hostEntry<ZHostTextCreateFn>("g2d.dll", HostNumbers::G2d::TextCreate);
        statusText = create("RECORDING [3 seconds]");
        hostEntry<ZHostRegisterEventFn>("api.dll", HostNumbers::Api::RegisterEvent)(ZHOST_EVENT_VIEW_DRAW,
                                                                                    &drawStatus);
        hostEntry<ZHostShowTextFn>("window.dll", HostNumbers::Window::ShowText)("Saved", 4, 18);
        Simulator::current()->world().createAi("Test Trainer", "N1");
    });

    EXPECT_EQ((std::vector<std::string>{
                  "scenario line 5: status is none, expected \"RECORDING [3 seconds]\"",
                  "scenario line 9: status is \"RECORDING [3 seconds]\", expected \"PLAYBACK\"",
                  "scenario line 10: status is \"RECORDING [3 seconds]\", expected none",
                  "scenario line 12: message is \"Saved\", expected none",
                  "scenario line 16: 1 aircraft besides the user's, expected 0",
                  "scenario line 19: menu item \"Flights/Load Flight...\" is enabled, expected disabled",
                  "scenario line 20: menu item \"Flights/Load Flight...\" is present, expected missing",
                  "scenario line 22: menu item \"Views/Full Screen\" is unchecked, expected checked",
                  "scenario line 24: no menu item \"Zephrel\"",
                  "scenario line 14: message is none, expected \"Saved\"",
                  "scenario line 28: sound is \"" + chime + "\", expected none",
                  "scenario line 30: simulation is paused, expected running",
              }),
              summary.scenarioErrors);
}

// Views opened and closed, cameras chosen for the active one, and the picture checked pixel by
// pixel: from the spot camera the sky fills the top.
TEST(ScenarioRunnerTest, OpensViewsChoosesCamerasAndChecksThePicture) {
    win::headless::reset();
    TempDir dir;
    writeRoot(dir);
    const std::string text = "root root\nframe-step 0.1\nduration 1\n" // lines 1-3
                             "at 0 expect camera Spot\n"
                             "at 0 expect pixel 5 5 near 120 171 227\n"
                             "at 0 expect pixel 5 5 near 92 133 71\n" // line 6: sky, not ground
                             "at 0 expect pixel 2000 5 near 0 0 0\n"
                             "at 0.5 camera tower\n"
                             "at 0.5 expect camera Tower\n"
                             "at 0.5 expect camera Spot\n" // line 10
                             "at 0.5 camera Chase\n"
                             "at 0.6 view open\n"
                             "at 0.6 view activate 1\n"
                             "at 0.6 expect camera Spot\n"
                             "at 0.6 expect view-count 2\n"
                             "at 0.6 view close 0\n" // line 16
                             "at 0.6 view close 3\n"
                             "at 0.6 view activate 2\n"
                             "at 0.7 view close 1\n"
                             "at 0.7 expect view-count 1\n"
                             "at 0.7 expect camera Tower\n" // line 21: the main view active again
                             "at 0.7 view command 0x10000\n"
                             "at 0.7 view command 0x10370 90\n"
                             "at 0.7 mouse move 0 10 10\n"
                             "at 0.7 mouse wheel 1 120\n"; // line 25
    ScenarioRunner runner(parseScenario(text, dir.path().string()),
                          RunOverrides{std::nullopt, std::nullopt, std::nullopt,
                                       PictureFiles{dir.path().string(), 1000, 320, 240}}); // the size only
    const RunSummary summary = runner.run({});
    EXPECT_EQ((std::vector<std::string>{
                  "scenario line 6: pixel 5 5 is 120 171 227, expected near 92 133 71 within 24",
                  "scenario line 7: pixel 2000 5 lies outside the 320x240 picture",
                  "scenario line 10: camera is \"Tower\", expected \"Spot\"",
                  "scenario line 11: the active view has no camera \"Chase\"",
                  "scenario line 16: the main view cannot be closed",
                  "scenario line 17: there is no view 3 to close",
                  "scenario line 18: there is no view 2",
                  "scenario line 22: view command 65536 is none of the simulator's",
                  "scenario line 25: there is no view 1",
              }),
              summary.scenarioErrors);
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

    const ScenarioRunner overridden(scenario, RunOverrides{"/other", "/elsewhere", HostVersion::accepted(4), std::nullopt});
    EXPECT_EQ("/other", overridden.setup().root);
    EXPECT_EQ("/other/Flights", overridden.setup().flightsFolder);
    EXPECT_EQ(HostVersion::accepted(4), overridden.setup().version);
    EXPECT_EQ("/elsewhere", overridden.appdata());

    EXPECT_EQ(SimulatorSetup{}.frameStep, ScenarioRunner(parseScenario("root /sim")).setup().frameStep);
    EXPECT_EQ("", ScenarioRunner(parseScenario("root /sim")).appdata());
    EXPECT_THROW(ScenarioRunner(parseScenario("flights /f")).setup(), ScenarioError);
}

TEST(ScenarioRunnerTest, ARunWithoutAUserAircraftDoesNotStart) {
    TempDir dir;
    writeRoot(dir);
    std::filesystem::create_directories(dir.path() / "empty");
    for (const char* text : {"root root\nuser-aircraft \"Jumbo\"\n", "root empty\n"}) {
        SCOPED_TRACE(text);
        ScenarioRunner runner(parseScenario(text, dir.path().string()));
        EXPECT_THROW(runner.run({}), ScenarioError);
    }
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
                             "at 3 answer box OK \"never shown\"\n" // line 12
                             "  at 3.5   dialog 140 settext 1001 \"5 # s\" press 1   # the dialog never opens\n"
                             "at 4 close\n";
    ScenarioRunner runner(parseScenario(text, dir.path().string()));
    std::vector<RunProgress> progress;
    const RunSummary summary = runner.run([&](const RunProgress& p) { progress.push_back(p); });

    EXPECT_EQ(std::vector<std::string>{"Test"}, summary.addons);
    EXPECT_TRUE(summary.loaderErrors.empty());
    EXPECT_EQ(1u, summary.errorBoxes);
    EXPECT_FALSE(summary.simulatorErrors.empty()) << "the flight that cannot be loaded";
    ASSERT_EQ(4u, summary.scenarioErrors.size());
    EXPECT_EQ("scenario line 7: no menu item \"Zephrel/Record...\"", summary.scenarioErrors[0]);
    EXPECT_EQ(0u, summary.scenarioErrors[1].find("scenario line 8: ")) << summary.scenarioErrors[1];
    // Each answer nothing used, by its line as written (without the comment).
    EXPECT_EQ("scenario line 12: never used: at 3 answer box OK \"never shown\"", summary.scenarioErrors[2]);
    EXPECT_EQ("scenario line 13: never used: at 3.5   dialog 140 settext 1001 \"5 # s\" press 1",
              summary.scenarioErrors[3]);
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
