// The module's dialogs in the simulator as a user works them: two recordings combined in "Advanced
// Playback", the second delayed, played as traffic and saved as one; a flight listed for automatic
// playback through the settings dialog; settings changed through the menu.

#include <gtest/gtest.h>

#include <string>

#include "ModuleRun.h"
#include "common/Ticks.h"
#include "common/FlightData.h"
#include "common/ZflFile.h"
#include "support/Packed.h"
#include "support/TempDir.h"

TEST(DialogRunTest, TwoRecordingsCombinedWithADelayPlayAndSaveAsOne) {
    const std::string first = "Zephrel_2011-08-15_14-00-21_0000.zfl";
    const std::string second = "Zephrel_2011-08-15_14-00-42_0000.zfl";
    const SimRun run =
        runModule("[SETTINGS]\nFileDialog=0\nShowRecDialog=0\nTempDirectory=%RUN%/temp\n[Dialogs]\nZflPath=%RUN%/flights\n",
                  "local-time 2011-08-15 14:00:00\n"
                  "duration 60\n"
                  "at 0 fly start-engines\n"
                  "at 1 menu \"Zephrel/Record...\"\n"
                  "at 2 fly circuit 800\n"
                  "at 21 menu \"Zephrel/Stop Recording...\"\n"
                  "at 22 menu \"Zephrel/Record...\"\n"
                  "at 42 menu \"Zephrel/Stop Recording...\"\n"
                  "at 43 answer file \"" + first + "\" \"" + second + "\" title \"Open Recorded Flights\"\n"
                  "at 43 answer file \"%RUN%/flights/combined.zfl\" title \"Save Flights\"\n"
                  "at 43 dialog 138 press 1017 contextmenu 1159 \"Uncheck all Tracks\" "
                  "contextmenu 1159 \"Check all Tracks\" treeselect 1159 \"" + second + "\" \"Track 1: Trainer 152 Aerobat\" "
                  "settext 1162 5 settext 1094 10 press 1048 press 1\n"
                  "at 43 menu \"Zephrel/Advanced Play...\"\n"
                  // The first recording's aircraft at once, the second's five seconds later.
                  "at 44 expect aircraft 1\n"
                  "at 49 expect aircraft 2\n"
                  "at 49 expect status \"TRAFFIC PLAYBACK [6 / 24 seconds]\"\n");
    expectCleanRun(run);
    ZflFile combined;
    combined.open(run.flightsFolder() + "/combined.zfl", ZflFile::Read);
    ASSERT_EQ(2u, combined.getNTracks());
    ZflFile source;
    source.open(run.flightsFolder() + "/" + second, ZflFile::Read);
    EXPECT_EQ(source.getStartTime(0) + 5 * kTicksPerSecond, combined.getStartTime(1)) << "delayed by 5 s";
    // Time and position lead every record, whatever groups follow them.
    ContData before{}, after{};
    source.readContData(0, 0, 1, &before);
    combined.readContData(1, 0, 1, &after);
    constexpr double kTwoTo32 = 4294967296.0;
    EXPECT_NEAR(10.0, static_cast<double>(copyOf(after.latitude) - copyOf(before.latitude)) / kTwoTo32, 0.01)
        << "10 m north";
    EXPECT_EQ(copyOf(before.altitude), copyOf(after.altitude));
}

// A flight put in the automatic playback list through the settings dialog starts its recording as
// traffic when it is loaded; the settings file changes only where the dialogs changed it.
TEST(DialogRunTest, AFlightListedForAutomaticPlaybackStartsItsRecordingWhenLoaded) {
    const std::string recording = "Zephrel_2011-08-15_14-00-11_0000.zfl";
    const SimRun run = runModule(
        "; kept as the user wrote it\n[SETTINGS]\nFileDialog=0\nShowRecDialog=0\nTempDirectory=%RUN%/temp\n"
        "[Dialogs]\nZflPath=%RUN%/flights\n",
        "local-time 2011-08-15 14:00:00\n"
        "duration 20\n"
        "at 0 fly start-engines\n"
        "at 1 menu \"Zephrel/Record...\"\n"
        "at 2 fly circuit 800\n"
        "at 11 menu \"Zephrel/Stop Recording...\"\n"
        "at 12 save flight start \"Start\"\n"
        "at 13 answer file \"%RUN%/flights/start.flt\" title \"Select Flight\"\n"
        "at 13 answer file \"" + recording + "\" title \"Select recorded Flight to play\"\n"
        "at 13 dialog 158 press 1002 press 1\n"
        "at 13 dialog 101 press 1040 press 1\n"
        "at 13 menu \"Zephrel/Settings...\"\n"
        "at 14 expect aircraft 0\n"
        "at 15 load flight start\n"
        "at 16 expect status \"TRAFFIC PLAYBACK [1 / 9 seconds]\"\n");
    expectCleanRun(run);
    const std::string ini = readText(run.file("module/Zephrel.ini"));
    EXPECT_EQ(0u, ini.find("; kept as the user wrote it\n[SETTINGS]\nFileDialog=0\n")) << ini;
    EXPECT_NE(std::string::npos, ini.find("[AUTOPLAY.000]\nFLT=")) << ini;
}

// "Zephrel Settings" and the "Recording Settings" it opens, changed through the menu: the recording
// interval goes into the file at once, the dialog before recording is switched off with the main
// dialog's OK, and the next recording is made with them.
TEST(DialogRunTest, SettingsChangedThroughTheMenuTakeEffect) {
    const SimRun run = runModule("[SETTINGS]\nFileDialog=0\nShowPlayDialog=1\nTempDirectory=%RUN%/temp\n",
                                 "local-time 2011-08-15 14:00:00\n"
                                 "duration 16\n"
                                 "at 1 dialog 103 selecttext 1003 \"1 sec\" press 1\n"
                                 "at 1 dialog 101 press 1030 check 1029 off press 1\n"
                                 "at 1 menu \"Zephrel/Settings...\"\n"
                                 // No "Recording Settings" now: left unanswered it would cancel the recording.
                                 "at 2 menu \"Zephrel/Record...\"\n"
                                 "at 2.5 expect menu \"Zephrel/Stop Recording...\" enabled\n"
                                 "at 12 menu \"Zephrel/Stop Recording...\"\n"
                                 // "Playback Settings" before the playback, as "ShowPlayDialog" asks.
                                 "at 13 answer file \"%RUN%/flights/Zephrel_2011-08-15_14-00-12_0000.zfl\" "
                                 "title \"Open Recorded Flight\"\n"
                                 "at 13 dialog \"Playback Settings\" press 1\n"
                                 "at 13 menu \"Zephrel/Play...\"\n"
                                 "at 14 expect status \"PLAYBACK [1 / 9 seconds]\"\n");
    expectCleanRun(run);
    const std::string ini = readText(run.file("module/Zephrel.ini"));
    EXPECT_NE(std::string::npos, ini.find("ShowRecDialog=0")) << ini;
    EXPECT_NE(std::string::npos, ini.find("Interval=10000")) << ini;
    ZflFile recorded;
    recorded.open(run.flightsFolder() + "/Zephrel_2011-08-15_14-00-12_0000.zfl", ZflFile::Read);
    EXPECT_NEAR(11, recorded.getTrackInfo(0).nCont, 1) << "a record a second for ten seconds";
}
