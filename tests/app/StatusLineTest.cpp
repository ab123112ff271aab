#include "app/StatusLine.h"

#include <gtest/gtest.h>

namespace {

using Kind = StatusLine::Playback;

struct Line {
    Kind kind;
    uint32_t now, begin, end;
    bool loop;
    float speed;
    const char* text;
};

TEST(StatusLineTest, PlaybackLinesShowWholeSecondsTheLoopAndTheSpeed) {
    const Line lines[] = {
        {Kind::User, 20129999, 20000000, 23000000, true, 2.0f,
         "PLAYBACK [12 / 300 seconds] (loop) (speed 200%)"},
        {Kind::User, 0, 0, 9999, false, 1.0f, "PLAYBACK [0 / 0 seconds]"},
        {Kind::Traffic, 50000, 0, 600000, false, 0.5f, "TRAFFIC PLAYBACK [5 / 60 seconds] (speed 50%)"},
        // 0.30078125 is the list's 0.3 (a multiple of 1/256): the percentage is cut, not rounded.
        {Kind::Traffic, 0, 0, 0, false, 0.30078125f, "TRAFFIC PLAYBACK [0 / 0 seconds] (speed 30%)"},
        // Beside a recording the speed is left off.
        {Kind::TrafficWhileRecording, 50000, 0, 600000, true, 0.5f,
         "RECORDING + TRAFFIC PLAYBACK [5 / 60 seconds] (loop)"},
        {Kind::InstantReplay, 100000, 0, 450000, false, 1.0f, "INSTANT REPLAY [35 seconds]"},
        // A clock before the beginning or past the end shows no negative or wrapped seconds.
        {Kind::User, 10, 20000, 90000, false, 1.0f, "PLAYBACK [0 / 7 seconds]"},
        {Kind::InstantReplay, 4000000000u, 0, 450000, false, 1.0f, "INSTANT REPLAY [0 seconds]"},
        {Kind::User, 4294967295u, 0, 4294967295u, false, 1.0f, "PLAYBACK [429496 / 429496 seconds]"},
    };
    std::string text = "an earlier, longer line that the next one replaces";
    for (const Line& line : lines) {
        StatusLine::playback(text, line.kind, line.now, line.begin, line.end, line.loop, line.speed);
        EXPECT_EQ(line.text, text);
    }
}

TEST(StatusLineTest, TheRecordingLineCountsFromTheRecordingsStart) {
    std::string text;
    StatusLine::recording(text, 1039999, 1000000);
    EXPECT_EQ("RECORDING [3 seconds]", text);
    StatusLine::recording(text, 5, 10);
    EXPECT_EQ("RECORDING [0 seconds]", text);
}

} // namespace
