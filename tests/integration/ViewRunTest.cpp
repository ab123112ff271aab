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

} // namespace
