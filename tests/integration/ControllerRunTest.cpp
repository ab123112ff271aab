// The module in the simulator as a user drives it: through its menu, its keys and the answers to
// its dialogs. The runs check what a user sees with the scenario's expectations (the status line,
// the menu's states); the files the runs leave are checked here.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleRun.h"

namespace {

// The recording settings are not asked for: these runs are about what follows.
const std::string kAutomaticNames = "[SETTINGS]\nFileDialog=0\nShowRecDialog=0\nTempDirectory=%RUN%/temp\n";

} // namespace

TEST(ControllerRunTest, ARecordingThroughTheMenuIsSavedUnderTheLocalTimeWithTheMenuFollowingTheState) {
    const SimRun run =
        runModule(kAutomaticNames, "local-time 2011-08-15 14:04:59.123\n"
                                   "duration 12\n"
                                   "at 0.5 expect menu \"Zephrel/Instant Replay...\" enabled\n"
                                   "at 1 menu \"Zephrel/Record...\"\n"
                                   "at 1.25 expect menu \"Zephrel/Stop Recording...\" enabled\n"
                                   "at 1.25 expect menu \"Zephrel/Play...\" disabled\n"
                                   "at 1.25 expect menu \"Zephrel/Play as Traffic...\" enabled\n"
                                   "at 1.25 expect menu \"Zephrel/Instant Replay...\" disabled\n"
                                   "at 1.25 expect menu \"Zephrel/Settings...\" disabled\n"
                                   "at 1.25 expect menu \"Zephrel/Set Marker...\" enabled\n"
                                   "at 4.25 expect status \"RECORDING [3 seconds]\"\n"
                                   "at 10 menu \"Zephrel/Stop Recording...\"\n"
                                   "at 10.25 expect menu \"Zephrel/Record...\" enabled\n"
                                   "at 10.25 expect menu \"Zephrel/Instant Replay...\" enabled\n"
                                   "at 10.25 expect status none\n");
    expectCleanRun(run);
    const std::string name = "Zephrel_2011-08-15_14-05-09_0123.zfl";
    ASSERT_EQ(std::vector<std::string>{name}, filesIn(run.flightsFolder()));
    EXPECT_EQ(1u, recordingSpan(run.flightsFolder() + "/" + name).tracks);
}

TEST(ControllerRunTest, ACancelledSaveAsksToGoOnAndNoDiscardsTheRecordingAndItsFlight) {
    const SimRun run = runModule("[SETTINGS]\nShowRecDialog=0\nTempDirectory=%RUN%/temp\n[RECORDING]\nSaveFlight=1\n",
                                 "duration 8\n"
                                 "at 1 menu \"Zephrel/Record...\"\n"
                                 "at 3 cancel file title \"Save Recorded Flight\"\n"
                                 "at 3 answer box YES \"Do you want to continue recording?\" \"Zephrel\"\n"
                                 "at 3 menu \"Zephrel/Stop Recording...\"\n"
                                 "at 3.25 expect menu \"Zephrel/Stop Recording...\" enabled\n"
                                 "at 5 cancel file title \"Save Recorded Flight\"\n"
                                 "at 5 answer box NO \"Do you want to continue recording?\"\n"
                                 "at 5 menu \"Zephrel/Stop Recording...\"\n"
                                 "at 5.25 expect menu \"Zephrel/Record...\" enabled\n"
                                 "at 5.25 expect status none\n");
    expectCleanRun(run);
    EXPECT_TRUE(filesIn(run.flightsFolder()).empty());
    for (const std::string& name : filesIn(run.file("temp")))
        EXPECT_EQ(std::string::npos, name.find("ZephrelTempRecord")) << name;
}

TEST(ControllerRunTest, LoadingAFlightWhileRecordingSavesTheRecordingAndRestartsTheInstantReplay) {
    const SimRun run =
        runModule(kAutomaticNames, "local-time 2011-08-15 14:00:00\n"
                                   "duration 8\n"
                                   "at 0.5 save flight start \"Start\"\n"
                                   "at 1 menu \"Zephrel/Record...\"\n"
                                   "at 4 load flight start\n"
                                   "at 4.5 expect menu \"Zephrel/Record...\" enabled\n"
                                   "at 4.5 expect menu \"Zephrel/Instant Replay...\" enabled\n");
    expectCleanRun(run);
    const std::vector<std::string> files = filesIn(run.flightsFolder());
    ASSERT_EQ(2u, files.size()) << ::testing::PrintToString(files);
    EXPECT_EQ("Zephrel_2011-08-15_14-00-04_0000.zfl", files[0]);
    EXPECT_EQ("start.flt", files[1]);
}

TEST(ControllerRunTest, AUserPlaybackShowsItsStatusAndRefusesRecordingAndTheTrafficPlaybackJoinsARecording) {
    // A minute recorded, then played on the user aircraft, then as traffic while recording.
    const SimRun run = runModule(kAutomaticNames + "[PLAYBACK]\nLoadMarkers=0\n",
                                 "local-time 2011-08-15 14:00:00\n"
                                 "duration 140\n"
                                 "at 0 fly start-engines\n"
                                 "at 1 menu \"Zephrel/Record...\"\n"
                                 "at 2 fly circuit 800\n"
                                 "at 61 menu \"Zephrel/Stop Recording...\"\n"
                                 "at 62 answer file \"%RUN%/flights/Zephrel_2011-08-15_14-01-01_0000.zfl\" "
                                 "title \"Open Recorded Flight\"\n"
                                 "at 62 menu \"Zephrel/Play...\"\n"
                                 "at 62.5 expect menu \"Zephrel/Record...\" disabled\n"
                                 "at 62.5 expect menu \"Zephrel/Play...\" disabled\n"
                                 "at 62.5 expect menu \"Zephrel/Stop Playback\" enabled\n"
                                 "at 62.5 expect menu \"Zephrel/Settings...\" disabled\n"
                                 // Forward1 jumps 15 s on its press; the repeats of the held key do not.
                                 "at 64 key down RIGHT\n"
                                 "at 64.5 key down RIGHT\n"
                                 "at 65 key up RIGHT\n"
                                 "at 66 expect status \"PLAYBACK [19 / 59 seconds]\"\n"
                                 "at 67 key press ADD\n"
                                 "at 67 key press DIVIDE\n"
                                 "at 69 key press MULTIPLY\n"
                                 "at 69.5 expect status \"PLAYBACK [20 / 59 seconds] (loop) (speed 200%)\"\n"
                                 // Esc lets the user playback run out its last second; it then ends.
                                 "at 70 key press ESCAPE\n"
                                 "at 70.5 expect status \"PLAYBACK [59 / 59 seconds]\"\n"
                                 "at 72 expect status none\n"
                                 "at 72 pause off\n"
                                 "at 73 answer file \"%RUN%/flights/Zephrel_2011-08-15_14-01-01_0000.zfl\" "
                                 "title \"Open Recorded Flights\"\n"
                                 "at 73 menu \"Zephrel/Play as Traffic...\"\n"
                                 "at 74 menu \"Zephrel/Record...\"\n"
                                 "at 74.5 expect menu \"Zephrel/Play...\" disabled\n"
                                 "at 84 expect status \"RECORDING + TRAFFIC PLAYBACK [11 / 59 seconds]\"\n"
                                 "at 90 menu \"Zephrel/Stop Recording...\"\n");
    expectCleanRun(run);
    const std::vector<std::string> files = filesIn(run.flightsFolder());
    ASSERT_EQ(2u, files.size()) << ::testing::PrintToString(files);
    // The recording's clock started at the playback's time, a second into the traffic playback.
    EXPECT_NEAR(1.0, recordingSpan(run.flightsFolder() + "/" + files[1]).first, 0.25);
}

TEST(ControllerRunTest, KeysFollowTheDispatchOrderAndHeldStepsStepOncePerPress) {
    // Esc is bound to Record as well as to Stop: Record comes first, so Esc never stops.
    const SimRun run = runModule(kAutomaticNames + "[KEYCONFIG]\nRecord=27\n",
                                 "local-time 2011-08-15 14:00:00\n"
                                 "duration 10\n"
                                 "at 1 key press ESCAPE\n"
                                 "at 1.5 expect menu \"Zephrel/Stop Recording...\" enabled\n"
                                 "at 2 key press ESCAPE\n"
                                 "at 2.5 expect menu \"Zephrel/Stop Recording...\" enabled\n");
    expectCleanRun(run);
    EXPECT_NE(std::string::npos, run.output().find("keys reached: none\n")) << run.output();

    const SimRun idle = runModule(kAutomaticNames, "duration 2\nat 1 key press ESCAPE\n");
    expectCleanRun(idle);
    EXPECT_NE(std::string::npos, idle.output().find("keys reached: down 0x1B, up 0x1B\n")) << idle.output();
}
