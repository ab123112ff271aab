// A recording in a simulator that is killed (SIGKILL, as a crash ends it): the next start offers
// what reached the disk, with the markers set, as a recording.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "ModuleRun.h"
#include "common/ZflFile.h"
#include "support/TempDir.h"

namespace {

// Recording starts at run time 1 s and the process dies at 150 s: 149 s on the recording's clock.
constexpr double kKilledAt = 149;
constexpr double kMostLost = 10;

TEST(CrashRunTest, ARecordingKilledWithTheSimulatorIsOfferedAtTheNextStartWithItsMarkers) {
    // Both runs share the temporary folder and the recordings' folder, as one installation does.
    TempDir shared;
    std::filesystem::create_directories(shared.file("temp"));
    std::filesystem::create_directories(shared.file("flights"));
    const std::string ini = "[SETTINGS]\nShowRecDialog=0\nTempDirectory=" + shared.file("temp") + "\n[Dialogs]\nZflPath=" +
                            shared.file("flights") + "\n[RECORDING]\nRecordAI=1\n";
    const SimRun crashed = runModule(ini, "duration 200\n"
                                          "traffic 20\n"
                                          "local-time 2011-08-15 14:05:00.000\n"
                                          "at 1 menu \"Zephrel/Record...\"\n"
                                          "at 2 fly takeoff\n"
                                          "at 20 dialog 160 settext 1005 \"Rotate\" press 1\n"
                                          "at 20 menu \"Zephrel/Set Marker...\"\n"
                                          "at 90 dialog 160 settext 1005 \"Downwind\" press 1\n"
                                          "at 90 menu \"Zephrel/Set Marker...\"\n"
                                          "at 150 crash\n");
    ASSERT_EQ(128 + SIGKILL, crashed.exitCode()) << crashed.output();
    EXPECT_TRUE(std::filesystem::exists(shared.file("temp/Zephrel.tmp0"))) << "the journal of the recording";

    const SimRun next = runModule(ini, "duration 5\n"
                                       "at 0 answer box YES \"minutes, from 2011-08-15 14:05). Save it?\" "
                                       "\"Zephrel\"\n"
                                       "at 0 answer file \"recovered.zfl\" title \"Save Recorded Flight\"\n");
    expectCleanRun(next);
    const std::string recovered = shared.file("flights/recovered.zfl");
    const RecordingSpan span = recordingSpan(recovered);
    EXPECT_GT(span.tracks, 1u) << "the traffic too";
    EXPECT_LE(span.first, 0.5);
    EXPECT_GE(span.last, kKilledAt - kMostLost);
    EXPECT_LE(span.last, kKilledAt);
    ZflFile file;
    file.open(recovered, ZflFile::Read);
    ASSERT_EQ(2u, file.getNMarkers());
    EXPECT_EQ("Rotate", file.readMarker(0).text);
    EXPECT_EQ("Downwind", file.readMarker(1).text);
    EXPECT_NEAR(89, file.readMarker(1).time / 10000.0, 0.25);
    file.close();
    EXPECT_EQ(std::vector<std::string>{}, filesIn(shared.file("temp"))) << "the kept files are let go";
}

} // namespace
