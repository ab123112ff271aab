// The module's view side in the simulator: the trainer's circuit of the chase-view scenario, with the
// probe writing a chase camera into a second view through the module's view pass and taking over
// the zooms among the simulator's view commands.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ModuleRun.h"
#include "SimRun.h"

namespace {

std::string scenarioText() {
    std::ifstream in(ZEPHREL_CHASE_SCENARIO);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ViewRunTest, AChaseCameraWrittenThroughTheModuleIsWhatTheSecondViewShows) {
    SimRun::Options options;
    options.scenarioActions = scenarioText();
    options.simArguments = "--frames %RUN%/temp --frame-every 3000 --size 640x480";
    options.environment = {{"ZEPHREL_PROBE_CAMERA", "1"}, {"ZEPHREL_PROBE_TAKE", "15"}};
    const SimRun run(options);
    // The scenario's pixel checks: the trainer at the centre of the inset while it is open.
    expectCleanRun(run);
    const std::vector<std::string> frames = {"frame-003000.png", "frame-006000.png", "frame-009000.png"};
    EXPECT_EQ(frames, filesIn(run.file("temp")));

    // The views as the module follows them, the view keys as camera events (the look to the right
    // left to the simulator, the zoom taken over), the middle button over the inset.
    const std::vector<std::string> expected = {"viewadded 0",
                                               "activeview 0 from -1",
                                               "viewadded 1",
                                               "camera written into view 1 of kind 0",
                                               "viewcommand 12 1.000 0.000 1.000",
                                               "viewcommand 12 0.000 0.000 1.000",
                                               "activeview 1 from 0",
                                               "viewcommand 15 1.414214",
                                               "middlebutton 1",
                                               "middlebutton 0",
                                               "activeview 0 from 1",
                                               "viewremoved 1",
                                               "cameras written 4800"};
    std::vector<std::string> seen;
    for (const std::string& line : run.report())
        if (std::find(expected.begin(), expected.end(), line) != expected.end() || line.starts_with("cameras written"))
            seen.push_back(line);
    EXPECT_EQ(expected, seen) << run.output();
}

// The module's three camera definitions reach the simulator at every host version (the first one
// only once the simulator has its views ready), and none with [SETTINGS] DisableCameras.
TEST(ViewRunTest, TheModulesCamerasAreOfferedUnlessDisabled) {
    const char* const versions[] = {"10.0.60905.0", "10.0.61637.0", "1.0.195.0"};
    for (const char* version : versions)
        for (const bool disabled : {false, true}) {
            SCOPED_TRACE(std::string(version) + (disabled ? " with DisableCameras" : ""));
            SimRun::Options options;
            options.hostVersion = version;
            options.probe = false;
            options.moduleIni = std::string("[SETTINGS]\nTempDirectory=%RUN%/temp\nDisableCameras=") +
                                (disabled ? "1" : "0") + "\n";
            // Only the first host version offers the simulator's own default views in the menus.
            const std::string defaults = std::string("at 0.25 expect menu \"Zephrel/Spot Cameras/FS Default Spot View\" ") +
                                         (version == versions[0] ? "checked\n" : "missing\n");
            const std::string noMenus = "at 0.25 expect menu \"Zephrel/Spot Cameras\" missing\n";
            options.scenarioActions = kModuleRunSettings + "duration 1\n" + (disabled ? noMenus : defaults) +
                                      "at 0.5 camera \"Zephrel VC\"\n"
                                                           "at 0.5 camera \"Zephrel Tower\"\n"
                                                           "at 0.5 camera \"Zephrel Spot\"\n"
                                                           "at 0.5 expect camera \"Zephrel Spot\"\n";
            const SimRun run(options);
            if (disabled) {
                EXPECT_NE(std::string::npos, run.output().find("the active view has no camera \"Zephrel VC\""))
                    << run.output();
            } else {
                expectCleanRun(run);
            }
            EXPECT_NE(std::string::npos, run.output().find("wrong forms: 0\n")) << run.output();
        }
}

// The module's own cameras chosen as the simulator's views' cameras, and through the "Zephrel"
// menu: a spot camera behind the trainer keeps it in the middle of the picture through its
// circuit; each kind's first camera is made the first time a view shows that kind.
TEST(ViewRunTest, TheModulesOwnCamerasWatchTheTrainer) {
    SimRun::Options options;
    options.probe = false;
    options.simArguments = "--frames %RUN%/temp --frame-every 100000 --size 640x480";
    options.scenarioActions = kModuleRunSettings +
                              "traffic 30\n"
                              "duration 200\n"
                              "at 0 camera \"Zephrel Spot\"\n"
                              "at 1 fly start-engines\n"
                              "at 8 fly circuit 800\n"
                              "at 20 expect menu \"Zephrel/Spot Cameras/Spot Camera 1\" checked\n"
                              "at 20 expect camera \"Zephrel Spot\" written\n"
                              "at 30 expect pixel 320 240 near 160 160 155 within 60\n"
                              "at 60 camera \"Zephrel Tower\"\n"
                              "at 61 expect menu \"Zephrel/Tower Cameras/Tower Camera 1\" checked\n"
                              "at 61 expect camera \"Zephrel Tower\" written\n"
                              "at 62 camera Tower\n"
                              "at 63 expect camera Tower unwritten\n"
                              // The tower camera turns after the trainer: zoomed in, it is in the middle.
                              "at 70 camera \"Zephrel Tower\"\n"
                              "at 71 view command 0x100B7\nat 71 view command 0x100B7\nat 71 view command 0x100B7\n"
                              "at 71 view command 0x100B7\nat 71 view command 0x100B7\nat 71 view command 0x100B7\n"
                              "at 71 view command 0x100B7\nat 71 view command 0x100B7\nat 71 view command 0x100B7\n"
                              "at 71 view command 0x100B7\n"
                              "at 90 expect pixel 320 240 near 160 160 155 within 60\n"
                              "at 110 expect pixel 320 240 near 160 160 155 within 60\n"
                              "at 120 camera \"Zephrel Spot\"\n"
                              "at 121 menu \"Zephrel/Spot Cameras/New\"\n"
                              "at 121 expect message \"Spot Camera 2\"\n"
                              "at 121 expect menu \"Zephrel/Spot Cameras/Spot Camera 1\" unchecked\n"
                              "at 150 expect pixel 320 240 near 160 160 155 within 60\n"
                              "at 190 expect pixel 100 240 near 92 133 71 within 40\n";
    const SimRun run(options);
    expectCleanRun(run);
    // The cameras are kept for the next run.
    const std::string ini = run.file("module/Zephrel.ini");
    std::ifstream in(ini);
    std::ostringstream text;
    text << in.rdbuf();
    for (const char* title : {"Title=Spot Camera 1", "Title=Spot Camera 2", "Title=Tower Camera 1"})
        EXPECT_NE(std::string::npos, text.str().find(title)) << title << " in\n" << text.str();
}

// A camera marker set in one run switches the view when the recording is played in the next, and a
// camera kept with a saved flight comes back when the flight is loaded.
TEST(ViewRunTest, CameraMarkersAndFlightCamerasCarryIntoTheNextRun) {
    SimRun::Options first;
    first.probe = false;
    first.moduleIni = "[SETTINGS]\nTempDirectory=%RUN%/temp\nPauseEndPlay=0\nShowRecDialog=0\n[Dialogs]\nZflPath=%RUN%/flights\n";
    first.scenarioActions = kModuleRunSettings +
                            "duration 20\n"
                            "at 0 camera \"Zephrel Tower\"\n" // its first camera, Tower Camera 1
                            "at 1 menu \"Zephrel/Record...\"\n"
                            // "Switch Camera" to the first camera listed: the only tower camera.
                            "at 5 dialog 160 select 1002 4 select 1008 0 press 1\n"
                            "at 5 menu \"Zephrel/Set Marker...\"\n"
                            "at 10 answer file \"cams.zfl\" title \"Save Recorded Flight\"\n"
                            "at 10 menu \"Zephrel/Stop Recording...\"\n"
                            "at 11 camera Spot\n"
                            // A second tower camera, kept with the flight ("Type:" Flight).
                            "at 12 menu \"Zephrel/Tower Cameras/New\"\n"
                            "at 13 dialog 171 select 1002 1 press 1\n"
                            "at 13 menu \"Zephrel/Tower Cameras/Edit...\"\n"
                            "at 14 save flight cams \"With cameras\"\n";
    const SimRun recorded(first);
    expectCleanRun(recorded);
    std::ifstream in(recorded.file("module/Zephrel.ini"));
    std::ostringstream settings;
    settings << in.rdbuf();
    EXPECT_EQ(std::string::npos, settings.str().find("Tower Camera 2")) << "a flight's camera stays with the flight";

    SimRun::Options second;
    second.probe = false;
    second.moduleIni = settings.str();
    const std::string flights = recorded.flightsFolder();
    second.scenarioActions = kModuleRunSettings +
                             "duration 14\n"
                             "at 1 load flight \"" + flights + "/cams.flt\"\n"
                             "at 2 expect menu \"Zephrel/Tower Cameras/Tower Camera 2\" present\n"
                             "at 3 answer file \"" + flights + "/cams.zfl\" title \"Open Recorded Flight\"\n"
                             "at 3 menu \"Zephrel/Play...\"\n"
                             "at 4 expect camera Spot\n"
                             "at 10 expect camera \"Zephrel Tower\" written\n";
    const SimRun played(second);
    expectCleanRun(played);
}

} // namespace
