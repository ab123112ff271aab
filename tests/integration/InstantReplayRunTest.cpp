// The instant replay in the simulator as a user drives it: the "Instant Replay" dialog (its field
// 1001, "Save..." 1003), the replay on the user aircraft, and the last seconds saved.

#include <gtest/gtest.h>

#include <string>

#include "ModuleRun.h"

namespace {

// The player does not pause the simulator at the end, so that the background recorder's clock
// runs on at once after a replay.
std::string replayIni(const std::string& settings = "", const std::string& sections = "") {
    return "[SETTINGS]\nTempDirectory=%RUN%/temp\nPauseEndPlay=0\n" + settings +
           "[Dialogs]\nZflPath=%RUN%/flights\n" + sections;
}

// The dialog's steps and the menu choice that opens it.
std::string replayFor(const std::string& at, const std::string& seconds) {
    return "at " + at + " dialog 140 settext 1001 " + seconds +
           " press 1\n" //
           "at " +
           at + " menu \"Zephrel/Instant Replay...\"\n";
}
std::string saveFor(const std::string& at, const std::string& seconds, const std::string& file) {
    return "at " + at + " dialog 140 settext 1001 " + seconds +
           " press 1003\n" //
           "at " +
           at + " answer file \"" + file +
           "\" title \"Save Instant Replay\"\n" //
           "at " +
           at + " menu \"Zephrel/Instant Replay...\"\n";
}

} // namespace

TEST(InstantReplayRunTest, TheReplayRestsTheRingWhichThenReachesBackBeforeIt) {
    const SimRun run =
        runModule(replayIni(), "duration 50\n"
                               "at 1 fly start-engines\n" +
                                   replayFor("30", "10") +
                                   "at 30.5 expect status \"INSTANT REPLAY [9 seconds]\"\n"
                                   "at 30.5 expect menu \"Zephrel/Record...\" disabled\n"
                                   "at 30.5 expect menu \"Zephrel/Play...\" disabled\n"
                                   "at 30.5 expect menu \"Zephrel/Play as Traffic...\" disabled\n"
                                   "at 30.5 expect menu \"Zephrel/Advanced Play...\" disabled\n"
                                   "at 30.5 expect menu \"Zephrel/Instant Replay...\" disabled\n"
                                   "at 42 expect status none\n"
                                   "at 42 expect menu \"Zephrel/Instant Replay...\" enabled\n" +
                                   saveFor("45", "30", "after.zfl"));
    expectCleanRun(run);
    // The recorder stood still for the replay's ten seconds: its clock reads 35 s at 45 s.
    const RecordingSpan after = recordingSpan(run.flightsFolder() + "/after.zfl");
    EXPECT_NEAR(5, after.first, 0.5);
    EXPECT_NEAR(35, after.last, 1);
    EXPECT_EQ(std::vector<std::string>{}, filesIn(run.file("temp"))) << "the replay's file is deleted";
}

TEST(InstantReplayRunTest, SavingKeepsTheUnboundedRecordingGoingFromItsStart) {
    const SimRun run =
        runModule(replayIni("MaxReplaySize=0\n"),
                  "duration 42\n" + saveFor("20", "5", "last5.zfl") + saveFor("40", "1000", "all.zfl"));
    expectCleanRun(run);
    const RecordingSpan last5 = recordingSpan(run.flightsFolder() + "/last5.zfl");
    EXPECT_NEAR(15, last5.first, 0.5);
    EXPECT_NEAR(20, last5.last, 0.5);
    const RecordingSpan all = recordingSpan(run.flightsFolder() + "/all.zfl");
    EXPECT_GT(1, all.first) << "asking for more than is held saves everything";
    EXPECT_NEAR(40, all.last, 0.5);
}

TEST(InstantReplayRunTest, TheBoundedRingOffersWhatItStillHolds) {
    // Every frame recorded with every group, so that 1 MiB is soon full.
    const SimRun run =
        runModule(replayIni("MaxReplaySize=1\n", "[REPLAY]\nInterval=1\nContFlags=511\nDiscFlags=1023\n"),
                  "duration 2410\n"
                  "at 1 fly circuit 800\n"
                  // The field starts with the seconds available.
                  "at 2400 dialog 140 press 1003\n"
                  "at 2400 answer file \"held.zfl\" title \"Save Instant Replay\"\n"
                  "at 2400 menu \"Zephrel/Instant Replay...\"\n");
    expectCleanRun(run);
    const RecordingSpan held = recordingSpan(run.flightsFolder() + "/held.zfl");
    // About 20 minutes fit into 1 MiB.
    EXPECT_LT(900, held.first) << "the oldest data left the ring";
    EXPECT_NEAR(2400, held.last, 0.5);
}

TEST(InstantReplayRunTest, AReplayThatCannotBeSavedIsReportedAndTheRingGoesOn) {
    const std::string unwritable = std::string(300, 'x') + ".zfl"; // longer than a file name may be
    const SimRun run =
        runModule(replayIni(), "duration 30\n" + saveFor("20", "5", unwritable) +
                                   "at 21 expect menu \"Zephrel/Instant Replay...\" enabled\n" +
                                   saveFor("25", "10", "kept.zfl"));
    EXPECT_EQ(0, run.exitCode()) << run.output() << run.log();
    EXPECT_NE(std::string::npos, run.output().find("errors shown: 1\n")) << run.output();
    EXPECT_EQ(std::string::npos, run.output().find("scenario errors")) << run.output();
    const RecordingSpan kept = recordingSpan(run.flightsFolder() + "/kept.zfl");
    EXPECT_NEAR(15, kept.first, 0.5);
    EXPECT_NEAR(25, kept.last, 0.5);
}
