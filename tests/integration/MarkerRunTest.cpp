// Markers in the simulator as a user sets them: the "Add Marker" dialog (type 1002, text 1005,
// display time 1009, scroll 1010) over a recording or a playback, and what they do when played.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ModuleRun.h"
#include "common/ZflFile.h"

namespace {

// Played to the end, the simulator runs on; the file dialogs start in the flights folder.
const std::string kMarkerIni = "[SETTINGS]\nTempDirectory=%RUN%/temp\nPauseEndPlay=0\nShowRecDialog=0\n"
                               "[Dialogs]\nZflPath=%RUN%/flights\n";

// The marker dialog's steps (ending with OK) and the menu choice that opens it.
std::string markerAt(const std::string& at, const std::string& steps) {
    return "at " + at + " dialog 160 " + steps +
           " press 1\n" //
           "at " +
           at + " menu \"Zephrel/Set Marker...\"\n";
}

std::string recordAt(const std::string& at) {
    return "at " + at + " menu \"Zephrel/Record...\"\n";
}
std::string saveRecordingAt(const std::string& at, const std::string& file) {
    return "at " + at + " answer file \"" + file +
           "\" title \"Save Recorded Flight\"\n" //
           "at " +
           at + " menu \"Zephrel/Stop Recording...\"\n";
}

std::vector<Marker> markersOf(const std::string& path) {
    ZflFile file;
    file.open(path, ZflFile::Read);
    std::vector<Marker> markers;
    for (uint32_t i = 0; i < file.getNMarkers(); ++i)
        markers.push_back(file.readMarker(i));
    return markers;
}

} // namespace

// Recorded from 1 s, so that a marker set at run time t is at t - 1 on the recording's clock.
// Played from 21 s, the playback clock reaches a marker at m seconds at 20.875 + m.
TEST(MarkerRunTest, MarkersSetWhileRecordingFireOnceInTheirSecondAndNotWhenJumpedOver) {
    const SimRun run = runModule(
        kMarkerIni,
        "duration 45\n" + recordAt("1") +
            markerAt(
                "10",
                "select 1002 2 check 1003 off settext 1005 \"Ten seconds\" settext 1009 100 check 1010 on") +
            markerAt("12", "select 1002 3") + markerAt("14", "") + saveRecordingAt("20", "marked.zfl") +
            "at 21 answer file \"marked.zfl\" title \"Open Recorded Flight\"\n"
            "at 21 menu \"Zephrel/Play...\"\n"
            "at 29.75 expect message none\n"
            "at 30 expect message \"Ten seconds\"\n"
            "at 31.75 expect paused off\n"
            "at 32 expect paused on\n"
            "at 33 pause off\n"
            // Back to the beginning clears the line; a jump over both markers fires neither.
            "at 34 key press HOME\n"
            "at 34.25 expect message none\n"
            "at 34.25 expect status \"PLAYBACK [0 / 18 seconds]\"\n"
            "at 36 key press RIGHT\n"
            "at 36.25 expect status \"PLAYBACK [17 / 18 seconds]\"\n"
            "at 37 expect message none\n"
            "at 37 expect paused off\n");
    expectCleanRun(run);
    const std::vector<Marker> markers = markersOf(run.flightsFolder() + "/marked.zfl");
    ASSERT_EQ(3u, markers.size());
    EXPECT_EQ(Marker::DisplayText, markers[0].type);
    EXPECT_EQ(90000u, markers[0].time);
    EXPECT_EQ(63u | Marker::kScrolling, markers[0].flags) << "100 s are held at 63 s";
    EXPECT_EQ("Ten seconds", markers[0].text);
    EXPECT_EQ(Marker::Pause, markers[1].type);
    EXPECT_EQ(Marker::None, markers[2].type);
    EXPECT_EQ(Marker::kChapter, markers[2].flags);
}

TEST(MarkerRunTest, AMarkerSetDuringTrafficPlaybackWhileRecordingGoesIntoTheRecording) {
    const SimRun run =
        runModule(kMarkerIni, "duration 30\n" + recordAt("1") + saveRecordingAt("11", "first.zfl") +
                                  "at 12 answer file \"first.zfl\" title \"Open Recorded Flights\"\n"
                                  "at 12 menu \"Zephrel/Play as Traffic...\"\n" +
                                  recordAt("13") + markerAt("16", "") + saveRecordingAt("19", "second.zfl"));
    expectCleanRun(run);
    EXPECT_TRUE(markersOf(run.flightsFolder() + "/first.zfl").empty());
    const std::vector<Marker> markers = markersOf(run.flightsFolder() + "/second.zfl");
    ASSERT_EQ(1u, markers.size());
    EXPECT_NEAR(4.0, markers[0].time / 10000.0, 0.25) << "the recording runs on the playback's clock";
}

TEST(MarkerRunTest, MarkersSetDuringPlaybackAreSavedAloneAndPlayWithTheirRecording) {
    const SimRun run = runModule(
        kMarkerIni,
        "duration 60\n" + recordAt("1") + saveRecordingAt("21", "flight.zfl") +
            "at 22 answer file \"flight.zfl\" title \"Open Recorded Flight\"\n"
            "at 22 menu \"Zephrel/Play...\"\n" +
            markerAt("27", "select 1002 2 settext 1005 \"Set in playback\"") +
            "at 30 answer box YES \"You have set new markers during playback, do you want to save them?\"\n"
            "at 30 answer file \"new.markers.zfl\" title \"Save Markers\"\n"
            "at 30 menu \"Zephrel/Stop Playback\"\n"
            "at 32 expect message none\n"
            "at 35 answer file \"flight.zfl\" \"new.markers.zfl\" title \"Open Recorded Flights\"\n"
            "at 35 menu \"Zephrel/Play as Traffic...\"\n"
            "at 39.75 expect message none\n"
            "at 40.25 expect message \"Set in playback\"\n");
    expectCleanRun(run);
    const std::string markersFile = run.flightsFolder() + "/new.markers.zfl";
    EXPECT_EQ(0u, recordingSpan(markersFile).tracks);
    ASSERT_EQ(1u, markersOf(markersFile).size());
    EXPECT_NEAR(5.125, markersOf(markersFile)[0].time / 10000.0, 0.25) << "on the playback's clock";
}

// Without cameras of the module's, every view is an outside view.
TEST(MarkerRunTest, ASoundMarkerPlaysInTheKindOfViewItNames) {
    const std::string chime = ZEPHREL_CHIME;
    const std::string sound = "select 1002 1 check 1003 off settext 1005 \"" + chime + "\" select 1008 ";
    const SimRun run =
        runModule(kMarkerIni, "duration 30\n" + recordAt("1") + markerAt("5", sound + "1") +
                                  markerAt("8", sound + "0") + saveRecordingAt("11", "sounds.zfl") +
                                  "at 12 answer file \"sounds.zfl\" title \"Open Recorded Flight\"\n"
                                  "at 12 menu \"Zephrel/Play...\"\n"
                                  "at 17 expect sound none\n"
                                  "at 20 expect sound \"" +
                                  chime + "\"\n");
    expectCleanRun(run);
    const std::vector<Marker> markers = markersOf(run.flightsFolder() + "/sounds.zfl");
    ASSERT_EQ(2u, markers.size());
    EXPECT_EQ(Marker::kInsideViews, markers[0].flags);
    EXPECT_EQ(Marker::kInsideViews | Marker::kOutsideViews, markers[1].flags);
}
