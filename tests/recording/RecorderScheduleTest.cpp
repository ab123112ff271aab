// The recording clock, the sampling schedule of both aircraft classes and the automatic stop.

#include <gtest/gtest.h>

#include "RecorderFixture.h"

namespace {

class RecorderScheduleTest : public RecorderFixture {};

TEST_F(RecorderScheduleTest, ClockStartsAtTheStartTimeAndStampsEverySampleWithIt) {
    recording.interval = 0;
    Recorder recorder(&general, &recording);
    recorder.start(50000, 0);
    std::vector<uint32_t> clocks;
    for (int i = 0; i < 3; ++i) {
        step(recorder);
        clocks.push_back(recorder.now());
    }
    EXPECT_EQ(clocksAt({1, 2, 3}, 50000), clocks);
    EXPECT_EQ(50000u, recorder.getStartTime()); // unbounded: where it started
    recorder.stop(dir.file("out.zfl"));
    const Track user = readRecording(dir.file("out.zfl")).tracks.at(0);
    EXPECT_EQ(clocks, user.contTimes);
    ASSERT_EQ(1u, user.discTimes().size()); // the parked aircraft's state never changes
    EXPECT_EQ(clocks.front(), user.discTimes().front());
}

TEST_F(RecorderScheduleTest, FrameOfMoreThanASecondAddsNothing) {
    struct Case {
        double seconds;
        uint32_t ticks;
    };
    for (const Case c : {Case{0.5, 5000}, Case{1.0, 10000}, Case{1.5, 0}, Case{4.0, 0}}) {
        SCOPED_TRACE(c.seconds);
        Recorder recorder(&general, &recording);
        recorder.start(0, 0);
        longFrame(recorder, c.seconds);
        EXPECT_EQ(kFrameTicks + c.ticks, recorder.now());
    }
}

TEST_F(RecorderScheduleTest, ClockRunsAtTheSimulationRate) {
    for (const double rate : {1.0, 2.0, 4.0}) {
        SCOPED_TRACE(rate);
        sim().setRate(rate);
        Recorder recorder(&general, &recording);
        recorder.start(0, 0);
        run(recorder, 2); // the host reports the new rate's frames from the second on
        const uint32_t before = recorder.now();
        run(recorder, 8);
        EXPECT_EQ(static_cast<uint32_t>(8 * kFrameTicks * rate), recorder.now() - before);
    }
}

TEST_F(RecorderScheduleTest, PausedFramesRecordNothingAndLeaveNoGap) {
    recording.interval = 0;
    Recorder recorder(&general, &recording);
    recorder.start(0, 0);
    run(recorder, 3);
    const uint32_t clock = recorder.now();
    sim().setPaused(true);
    run(recorder, 5);
    EXPECT_EQ(clock, recorder.now());
    EXPECT_EQ(3u, recorder.trackBuffer(0).trackInfo().nCont);
    sim().setPaused(false);
    run(recorder, 4);
    recorder.stop(dir.file("out.zfl"));
    const std::vector<uint32_t> times = readRecording(dir.file("out.zfl")).tracks.at(0).contTimes;
    ASSERT_GT(times.size(), 4u);
    for (std::size_t i = 0; i < times.size(); ++i)
        EXPECT_EQ((i + 1) * kFrameTicks, times[i]) << "sample " << i;
}

// Twelve frames with an aircraft beside the user's, both sampled at their class's interval: a
// sample in the first frame whose clock has passed the due time, the next due an interval later.
TEST_F(RecorderScheduleTest, EachClassIsSampledAtItsInterval) {
    struct Case {
        int32_t interval, intervalAI;
        std::vector<uint32_t> userFrames, aiFrames;
    };
    const std::vector<uint32_t> everyFrame{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const Case cases[] = {
        {2500, 5000, {1, 5, 9}, {1, 9}},
        {1000, 0, {1, 2, 4, 5, 7, 9, 10, 12}, everyFrame}, // a frame apart from each multiple of 1000
        {0, -5, everyFrame, everyFrame},
        {400, 20000, everyFrame, {1}},
    };
    recording.recordAI = true;
    world().createAi("Twin Jet 737-800 House", "HB-ZTA");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.interval);
        recording.interval = c.interval;
        recording.intervalAI = c.intervalAI;
        Recorder recorder(&general, &recording);
        recorder.start(0, 0);
        run(recorder, 12);
        recorder.stop(dir.file("out.zfl"));
        const Recording read = readRecording(dir.file("out.zfl"));
        ASSERT_EQ(2u, read.tracks.size());
        EXPECT_EQ(clocksAt(c.userFrames), read.tracks[0].contTimes);
        EXPECT_EQ(clocksAt(c.aiFrames), read.tracks[1].contTimes);
    }
}

// Interval 2500; samples at 625 and 3125 (due next at 5000), then a long frame and eight more.
TEST_F(RecorderScheduleTest, ScheduleMoreThanAnIntervalBehindRestartsFromNow) {
    struct Case {
        double seconds;
        std::vector<uint32_t> times;
    };
    const Case cases[] = {
        {1.0, {625, 3125, 13125, 16250}},         // 8125 behind: due again at 15625
        {0.4375, {625, 3125, 7500, 8125, 10625}}, // exactly an interval behind: due at 7500
        {0.3125, {625, 3125, 6250, 8125, 10625}}, // 1250 behind: due at 7500
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        Recorder recorder(&general, &recording);
        recorder.start(0, 0);
        run(recorder, 4);
        longFrame(recorder, c.seconds);
        run(recorder, 8);
        recorder.stop(dir.file("out.zfl"));
        EXPECT_EQ(c.times, readRecording(dir.file("out.zfl")).tracks.at(0).contTimes);
    }
}

TEST_F(RecorderScheduleTest, LiftOffAndTouchdownUpdateTheAircraftButTakeNoSample) {
    recording.interval = recording.intervalAI = 100000;
    recording.recordAI = true;
    Recorder recorder(&general, &recording);
    recorder.start(0, 0);
    step(recorder, 'G');
    world().createAi("Twin Jet 737-800 House", "HB-ZTA");
    step(recorder, 'G');
    EXPECT_EQ(1u, recorder.trackCount());
    step(recorder, 'A');
    ASSERT_EQ(2u, recorder.trackCount());
    step(recorder, 'G');
    EXPECT_EQ(1u, recorder.trackBuffer(0).trackInfo().nCont);
    EXPECT_EQ(0u, recorder.trackBuffer(1).trackInfo().nCont);
}

// The stop falls due in the first frame whose clock exceeds the event's by AutoStopTime seconds.
// Script character i is what the user aircraft reports in frame i + 1, the last one thereafter.
TEST_F(RecorderScheduleTest, AutomaticStopFallsDueOnceAfterItsEvent) {
    struct Case {
        int32_t mode;
        std::string script;
        int32_t seconds;
        int dueFrame; // 0: never
    };
    const Case cases[] = {
        {1, "G", 1, 17},            // 10625 > 0 + 10000
        {2, "AAAAG", 1, 22},        // touchdown at 3125
        {2, "AAAAGGGGGAAG", 1, 29}, // the second touchdown, at 7500, moves the stop
        {3, "ggggG", 1, 22},        // shutdown at 3125
        {3, "AAAAg", 1, 0},         // touchdown with the engine running
        {2, "ggggG", 1, 0},         // shutdown on the ground
        {0, "AAAAG", 1, 0},
        // Hand-edited times: beyond the clock's reach never, negative at once.
        {1, "G", 429497, 0},
        {2, "AAAAG", 2147483647, 0},
        {1, "G", -5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script + " after " + std::to_string(c.seconds) + " s");
        recording.autoStopMode = c.mode;
        recording.autoStopTime = c.seconds;
        Recorder recorder(&general, &recording);
        recorder.start(0, 0);
        std::vector<int> dueFrames;
        for (int frame = 1; frame <= 40; ++frame) {
            step(recorder,
                 c.script[std::min<std::size_t>(static_cast<std::size_t>(frame - 1), c.script.size() - 1)]);
            if (recorder.autoStopped()) {
                dueFrames.push_back(frame);
                EXPECT_FALSE(recorder.autoStopped()) << "reading clears it";
            }
        }
        EXPECT_EQ(c.dueFrame == 0 ? std::vector<int>{} : std::vector<int>{c.dueFrame}, dueFrames);
        EXPECT_TRUE(recorder.isRunning());
    }
}

} // namespace
