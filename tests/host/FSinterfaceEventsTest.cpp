// The host events as the module turns them into its own: notifications, frames, the frame time
// and the fixed step of video rendering.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "host/FSinterface.h"
#include "host/HostEventHandlers.h"
#include "host/HostState.h"

namespace {

// The pacing clock of these tests: each host tick takes kTickSeconds, listeners add work.
constexpr double kTickSeconds = 0.01;
double workSeconds = 0;
double testClock() { return FakeHost::current().ticks * kTickSeconds + workSeconds; }

// A flight event's record: the path 4 bytes in.
struct FlightRecord {
    char header[4] = {};
    char path[64] = {};
    explicit FlightRecord(const char* text) { std::strncpy(path, text, sizeof path - 1); }
    uintptr_t data() const { return reinterpret_cast<uintptr_t>(this); }
};

class FSinterfaceEventsTest : public FakeHostTest {
protected:
    void system(uintptr_t code, uintptr_t data) { host->raise(ZHOST_EVENT_SYSTEM, code, data); }
    void frame() { host->raise(ZHOST_EVENT_FRAME); }
    // One frame of the fixed step: its start, the frame, the frame after.
    void steppedFrame() {
        host->raise(ZHOST_EVENT_FIXED_STEP);
        frame();
        host->raise(ZHOST_EVENT_AFTER_FRAME);
    }
    const Event frameEvent{Frame, 0, 0, {}, {}};
};

TEST_F(FSinterfaceEventsTest, NotificationsReachTheListenersInOrderOnTheNextFrameExceptTheModulesOwnFlight) {
    start(4);
    const FlightRecord saved("C:\\Flights\\circuit"), loaded("C:\\Flights\\approach.flt");
    const char* aircraft = "C:\\FSX\\SimObjects\\Airplanes\\C172\\aircraft.cfg";
    system(ZHOST_SYSTEM_AIRCRAFT_LOADED, reinterpret_cast<uintptr_t>(aircraft));
    system(ZHOST_SYSTEM_FLIGHT_LOADED, loaded.data());
    system(ZHOST_SYSTEM_FLIGHT_SAVED, saved.data());
    EXPECT_EQ(std::vector<int>{Start}, eventNumbers());

    events.seen.clear();
    frame();
    ASSERT_EQ(4u, events.seen.size());
    EXPECT_EQ(FlightSaved, events.seen[0].event);
    EXPECT_EQ("C:\\Flights\\circuit.flt", events.seen[0].textA);
    EXPECT_EQ(FlightLoaded, events.seen[1].event);
    EXPECT_EQ("C:\\Flights\\approach.flt", events.seen[1].textA);
    EXPECT_EQ(AircraftLoaded, events.seen[2].event);
    EXPECT_EQ("Cessna 172", events.seen[2].textA);
    EXPECT_EQ("C:\\FSX\\SimObjects\\Airplanes\\C172", events.seen[2].textB);
    EXPECT_EQ(frameEvent, events.seen[3]);

    events.seen.clear();
    frame();
    EXPECT_EQ(std::vector<int>{Frame}, eventNumbers());

    // A flight the module loads itself is no news.
    hostState().loadingFlight = true;
    system(ZHOST_SYSTEM_FLIGHT_LOADED, loaded.data());
    hostState().loadingFlight = false;
    frame();
    EXPECT_EQ((std::vector<int>{Frame, Frame}), eventNumbers());
}

TEST_F(FSinterfaceEventsTest, TheLoadedAircraftsKindChoosesItsSimulationGroup) {
    struct Case {
        int version;
        const char* category;
        const char* title;
        const char* group;
        bool helicopter;
        bool levelD767;
    };
    for (const Case& c : {Case{1, "Helicopter", "Level-D 767-300", "SimGroupUser", true, true},
                          Case{3, "HELICOPTER", "LevelD 757", "HeloMainSimGroup", true, false},
                          Case{4, "Airplane", "Level D Simulations 767", "AirplaneMainSimGroupUser", false, true}}) {
        restart();
        FakeHost& h = start(c.version);
        h.category = c.category;
        h.title = c.title;
        h.addGroup("Decoy", 0);
        h.addGroup(c.group, 10);
        system(ZHOST_SYSTEM_AIRCRAFT_LOADED, reinterpret_cast<uintptr_t>("C:\\A\\aircraft.cfg"));
        frame();
        h.setGroupClock(1, 10.5);
        frame();
        EXPECT_EQ(c.helicopter, hostState().helicopter) << c.category;
        EXPECT_EQ(c.levelD767, hostState().levelD767) << c.title;
        EXPECT_FLOAT_EQ(0.5f, FSinterface::getFrameTime()) << c.group;
    }
}

TEST_F(FSinterfaceEventsTest, TheFrameTimeStaysWithinZeroToTenSecondsAcrossAPause) {
    FakeHost& h = start(3);
    h.groupTable.rateWords[0] = 1024;
    h.groupTable.rateWords[1] = 512; // the smaller word divides
    h.addGroup("AirplaneMainSimGroupUser", 100);
    frame();
    EXPECT_EQ(0.0f, FSinterface::getFrameTime());
    h.setGroupClock(0, 101);
    frame();
    EXPECT_FLOAT_EQ(256.0f / 512, FSinterface::getFrameTime());

    h.simState.paused = 1;
    h.realFrameTime = 0.125;
    h.setGroupClock(0, 300);
    frame();
    EXPECT_FLOAT_EQ(0.125f, FSinterface::getFrameTime());
    h.simState.paused = 0;
    h.setGroupClock(0, 300.5);
    frame();
    EXPECT_FLOAT_EQ(0.25f, FSinterface::getFrameTime());
    h.setGroupClock(0, 400);
    frame();
    EXPECT_FLOAT_EQ(10.0f, FSinterface::getFrameTime());
    h.setGroupClock(0, 399);
    frame();
    EXPECT_EQ(0.0f, FSinterface::getFrameTime());
}

TEST_F(FSinterfaceEventsTest, TheFixedStepDrivesTheHostsTimeWhileNotPaused) {
    FakeHost& h = start(2);
    h.rateWord = 256;
    h.mainFrameTime = 1.0 / 256;
    h.accumulatedTime = 1000;
    const double frameTime = 0.5, factor = 0.04;
    FSinterface::setFixedFrameTime(frameTime, factor, false);
    EXPECT_EQ(0u, h.rateWord);
    EXPECT_EQ(0.0, h.mainFrameTime);

    const uint32_t ticksPerFrame = static_cast<uint32_t>(std::trunc(1000 * frameTime * factor));
    uint32_t ticksAtFrame = 0;
    events.answer = [&](const Event& e) {
        if (e.event == Frame && e.a == 1)
            ticksAtFrame = h.ticks;
        return 0;
    };
    h.frameTimeA = 1.0;
    steppedFrame();
    EXPECT_EQ(static_cast<uint32_t>(1000 - 18 * 1.0 + 18 * frameTime), h.accumulatedTime);
    EXPECT_EQ(frameTime, h.frameTimeA);
    EXPECT_EQ(frameTime, h.frameTimeB);
    EXPECT_EQ(ticksPerFrame, ticksAtFrame);
    EXPECT_EQ(ticksPerFrame, h.apiIdles);
    EXPECT_EQ(ticksPerFrame, h.feIdles);
    EXPECT_EQ(1000 * h.ticks, h.tickMilliseconds);

    h.simState.paused = 1;
    h.frameTimeA = 2.0;
    const uint32_t accumulated = h.accumulatedTime;
    host->raise(ZHOST_EVENT_FIXED_STEP);
    EXPECT_EQ(accumulated, h.accumulatedTime);
    EXPECT_EQ(2.0, h.frameTimeA);

    FSinterface::setFixedFrameTime(-1, 0, false);
    EXPECT_EQ(256u, h.rateWord);
    EXPECT_EQ(1.0 / 256, h.mainFrameTime);
}

// Video rendering draws discarded frames with a step of 0: the host's time stands still but stays
// with the module; only a negative step gives the host its rate word back.
TEST_F(FSinterfaceEventsTest, AStepOfZeroKeepsTheFixedStepAndOnlyANegativeStepEndsIt) {
    for (const bool stepOnBefore : {false, true}) {
        SCOPED_TRACE(stepOnBefore ? "zero step after a step" : "zero step from the host's timing");
        restart();
        FakeHost& h = start(3);
        h.rateWord = 512;
        h.accumulatedTime = 1000;
        if (stepOnBefore)
            FSinterface::setFixedFrameTime(0.04, 2, false);
        FSinterface::setFixedFrameTime(0, 2, true);
        const HostState& s = hostState();
        EXPECT_TRUE(s.fixedStep);
        EXPECT_EQ(0.0, s.fixedFrameTime);
        EXPECT_EQ(0u, s.ticksPerFrame);
        EXPECT_TRUE(s.realTimePacing);
        EXPECT_EQ(0u, h.rateWord);
        EXPECT_EQ(512u, s.savedRateWord);

        h.frameTimeA = h.frameTimeB = 0; // the host's start while its rate word is 0
        steppedFrame();
        EXPECT_EQ(0.0, h.frameTimeA);
        EXPECT_EQ(0.0, h.frameTimeB);
        EXPECT_EQ(1000u, h.accumulatedTime);
        EXPECT_EQ(0u, h.apiIdles + h.feIdles);

        FSinterface::setFixedFrameTime(0.04, 2, false);
        EXPECT_EQ(80u, s.ticksPerFrame);
        EXPECT_EQ(512u, s.savedRateWord) << "the rate word saved when the step came on";

        FSinterface::setFixedFrameTime(-0.5, 2, false);
        EXPECT_FALSE(s.fixedStep);
        EXPECT_EQ(512u, h.rateWord);
        EXPECT_EQ(1.0 / 512, h.mainFrameTime);
        h.rateWord = 256;
        FSinterface::setFixedFrameTime(-1, 2, false);
        EXPECT_EQ(256u, h.rateWord) << "nothing to give back once off";
    }
}

TEST_F(FSinterfaceEventsTest, RealTimePacingWaitsForTheFrameDurationEstimate) {
    FakeHost& h = start(3);
    HostEventHandlers::setClock(testClock);
    workSeconds = 0;
    double work = 1.0;
    events.answer = [&](const Event& e) {
        if (e.event == Frame && e.a == 1)
            workSeconds += work;
        return 0;
    };
    FSinterface::setFixedFrameTime(0.04, 0, true); // no ticks of its own: only pacing ticks
    steppedFrame();
    EXPECT_DOUBLE_EQ(0.1 * 1.0, hostState().frameEstimate);
    steppedFrame();
    const double estimate = 0.899 * (0.1 * 1.0) + 0.1 * 1.0;
    EXPECT_DOUBLE_EQ(estimate, hostState().frameEstimate);
    EXPECT_EQ(0u, h.ticks);

    // A quick frame is held back until the estimate has passed.
    work = 0;
    steppedFrame();
    EXPECT_EQ(static_cast<uint32_t>(std::ceil(estimate / kTickSeconds)), h.ticks);

    h.simState.paused = 1;
    const uint32_t ticks = h.ticks;
    steppedFrame();
    EXPECT_EQ(ticks, h.ticks);
}

} // namespace
