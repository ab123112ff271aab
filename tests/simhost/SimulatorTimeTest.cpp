// Time as add-ons see it: pause, rate, the simulation groups' clock, the fixed step, the date.
#include <cmath>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "SimulatorFixture.h"
#include "support/Packed.h"

namespace {

using namespace HostNumbers;

constexpr double kFrame = 1.0 / 30; // the setup's frame step

void run(Simulator& sim, int frames) {
    for (int i = 0; i < frames; ++i)
        sim.frame();
}

TEST(SimulatorTimeTest, ThePauseRequestTakesEffectAtTheNextFrame) {
    SimulatorFixture f(3);
    ZHostSimState* state = f.simState();
    run(*f.sim, 3);
    EXPECT_NEAR(3 * kFrame, f.sim->simulatedSeconds(), 1e-9);
    state->pauseRequest = 1;
    EXPECT_FALSE(f.sim->paused());
    run(*f.sim, 3);
    EXPECT_TRUE(f.sim->paused());
    EXPECT_EQ(1u, copyOf(state->paused));
    EXPECT_NEAR(3 * kFrame, f.sim->simulatedSeconds(), 1e-9);
    EXPECT_NEAR(6 * kFrame, f.sim->realSeconds(), 1e-9);
    state->pauseRequest = 0;
    f.sim->frame();
    EXPECT_EQ(0u, copyOf(state->paused));
    EXPECT_NEAR(4 * kFrame, f.sim->simulatedSeconds(), 1e-9);
}

TEST(SimulatorTimeTest, TheRateIsFixedPointWith256ForOne) {
    SimulatorFixture f(4);
    auto getRate = f.entry<ZHostGetRateFn>("simscheduler.dll", Scheduler::GetRate);
    f.sim->setRate(2);
    EXPECT_EQ(512u, getRate());
    EXPECT_EQ(512u, *f.data<uint32_t>("main.dll", Main::RateWord));
    run(*f.sim, 3);
    EXPECT_NEAR(6 * kFrame, f.sim->simulatedSeconds(), 1e-9);
    f.entry<ZHostSetRateFn>("simscheduler.dll", Scheduler::SetRate)(64);
    EXPECT_DOUBLE_EQ(0.25, f.sim->rate());
    f.sim->setRate(1000);
    EXPECT_EQ(128u * 256, getRate());
}

struct GroupCase {
    int version;
    const char* user;      // the aircraft
    const char* group;     // its group's name
    const char* notThere;  // a user group of the other kind
    std::size_t clockByte; // in the entry
};

// Names the case in test output by what it is, not by its bytes.
void PrintTo(const GroupCase& c, std::ostream* out) { *out << "version " << c.version << ", " << c.group; }

class SimulatorGroupsTest : public ::testing::TestWithParam<GroupCase> {};

double clockOf(const ZHostSimGroupTable& table, const char* name, std::size_t byte, bool& found) {
    found = false;
    double clock = 0;
    for (uint32_t i = 0; i < table.count; ++i)
        if (std::strcmp(table.groups[i].name, name) == 0) {
            found = true;
            std::memcpy(&clock, reinterpret_cast<const uint8_t*>(&table.groups[i]) + byte, sizeof clock);
        }
    return clock;
}

TEST_P(SimulatorGroupsTest, TheUserGroupsClockRunsWithTheFrameTimeOverTheSmallerRateWord) {
    const GroupCase c = GetParam();
    SimulatorFixture f(c.version, c.user);
    ZHostSimGroupTable* table = f.entry<ZHostSimGroupsFn>("simscheduler.dll", Scheduler::SimGroups)();
    ASSERT_NE(nullptr, table);
    EXPECT_EQ(256u, table->rateWords[0]);
    EXPECT_EQ(1024u, table->rateWords[1]);
    run(*f.sim, 6);
    bool found = false;
    EXPECT_NEAR(f.sim->simulatedSeconds(), clockOf(*table, c.group, c.clockByte, found), 1e-9);
    EXPECT_TRUE(found) << c.group;
    clockOf(*table, c.notThere, c.clockByte, found);
    EXPECT_FALSE(found) << c.notThere;

    table->rateWords[1] = 128; // now the smaller one: the clock runs at half speed
    double before = clockOf(*table, c.group, c.clockByte, found);
    run(*f.sim, 6);
    EXPECT_NEAR(before + 6 * kFrame / 2, clockOf(*table, c.group, c.clockByte, found), 1e-9);

    // The rate is not in the clock: add-ons measure the frame's own time and apply the rate.
    f.sim->setRate(2);
    before = clockOf(*table, c.group, c.clockByte, found);
    run(*f.sim, 6);
    EXPECT_NEAR(before + 6 * kFrame / 2, clockOf(*table, c.group, c.clockByte, found), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    VersionsAndKinds, SimulatorGroupsTest,
    ::testing::Values(
        GroupCase{0, SimulatorFixture::kAirplane, "SimGroupUser", "HeloMainSimGroup", 20},
        GroupCase{2, SimulatorFixture::kHelicopter, "SimGroupUser", "HeloMainSimGroup", 20},
        GroupCase{3, SimulatorFixture::kAirplane, "AirplaneMainSimGroupUser", "HeloMainSimGroup", 28},
        GroupCase{4, SimulatorFixture::kHelicopter, "HeloMainSimGroup", "AirplaneMainSimGroupUser", 28}));

// An add-on that times the frames as the module's fixed step does: in host event 36 it sets both
// frame-time doubles to its step (noting what they were as the frame started), after each frame
// it gives turns of a tick and an idle call, by turns api.dll's and fe.dll's. It is not told of pauses: the
// simulator keeps still while paused on its own.
struct StepAddOn {
    double step = 0;
    uint32_t turnsPerFrame = 0;
    double* frameTimeA = nullptr;
    double* frameTimeB = nullptr;
    ZHostTickFn tick = nullptr;
    ZHostIdleFn idles[2] = {};
    std::vector<double> startA, startB;
};
StepAddOn addOn;

void addOnFixedStep(uint32_t, uintptr_t, uintptr_t) {
    addOn.startA.push_back(*addOn.frameTimeA);
    addOn.startB.push_back(*addOn.frameTimeB);
    *addOn.frameTimeA = addOn.step;
    *addOn.frameTimeB = addOn.step;
}

void addOnAfterFrame(uint32_t, uintptr_t, uintptr_t) {
    for (uint32_t turn = 0; turn < addOn.turnsPerFrame; ++turn) {
        addOn.tick(1000);
        addOn.idles[turn % 2]();
    }
}

// The add-on registered for host events 36 and 35, and the rate word at 0, as the module's fixed
// step leaves it.
void startFixedStep(SimulatorFixture& f, double step, uint32_t turnsPerFrame) {
    addOn = StepAddOn{step,
                      turnsPerFrame,
                      f.data<double>("api.dll", Api::FrameTimeA),
                      f.data<double>("api.dll", Api::FrameTimeB),
                      f.entry<ZHostTickFn>("api.dll", Api::Tick),
                      {f.entry<ZHostIdleFn>("api.dll", Api::Idle), f.entry<ZHostIdleFn>("fe.dll", Fe::Idle)},
                      {},
                      {}};
    auto registerEvent = f.entry<ZHostRegisterEventFn>("api.dll", Api::RegisterEvent);
    registerEvent(ZHOST_EVENT_FIXED_STEP, &addOnFixedStep);
    registerEvent(ZHOST_EVENT_AFTER_FRAME, &addOnAfterFrame);
    uint32_t* rateWord = f.data<uint32_t>("main.dll", Main::RateWord);
    ASSERT_NE(nullptr, rateWord);
    *rateWord = 0;
}

// Version 3's airplane: its group's clock.
double userClock(const SimulatorFixture& f) {
    const ZHostSimGroupTable* table = f.entry<ZHostSimGroupsFn>("simscheduler.dll", Scheduler::SimGroups)();
    bool found = false;
    const double clock = clockOf(*table, "AirplaneMainSimGroupUser", 28, found);
    EXPECT_TRUE(found);
    return clock;
}

// The scenery factor decides the idle turns only: every frame moves the simulation, the date and
// time and the groups' clock by exactly the step the add-on set.
TEST(SimulatorTimeTest, TheFixedStepAdvancesByTheFrameTimeTheAddOnSetWhateverTheIdleTurns) {
    constexpr double kStep = 0.25;
    for (const double factor : {0.0, 0.5, 1.0, 10.0}) {
        SCOPED_TRACE("scenery factor " + std::to_string(factor));
        SimulatorFixture f(3);
        run(*f.sim, 2);
        const uint32_t turnsPerFrame = static_cast<uint32_t>(std::trunc(1000 * kStep * factor));
        startFixedStep(f, kStep, turnsPerFrame);
        const uint32_t accumulated = *f.data<uint32_t>("main.dll", Main::AccumulatedTime);
        const ZHostDateTime* dateTime = f.data<ZHostDateTime>("main.dll", Main::DateTime);
        const double startSeconds = f.sim->simulatedSeconds(), startClock = userClock(f);
        for (int frame = 1; frame <= 4; ++frame) {
            const uint64_t turns = f.sim->idleTurns();
            f.sim->frame();
            EXPECT_NEAR(startSeconds + frame * kStep, f.sim->simulatedSeconds(), 1e-12);
            EXPECT_NEAR(startClock + frame * kStep, userClock(f), 1e-12);
            EXPECT_EQ(turnsPerFrame, f.sim->idleTurns() - turns);
        }
        EXPECT_EQ(1, copyOf(dateTime->second)) << "12:00:00 and 2 frames, then a second";
        EXPECT_EQ(accumulated, *f.data<uint32_t>("main.dll", Main::AccumulatedTime))
            << "the add-on's to keep";
        EXPECT_EQ(std::vector<double>(4, 0.0), addOn.startA) << "frames start at 0 while the rate word is 0";
        EXPECT_EQ(std::vector<double>(4, 0.0), addOn.startB);
        EXPECT_EQ(0u, f.wrongForms());
        addOn.tick(0);
        EXPECT_EQ(1u, f.wrongForms()) << "no tick at all";
    }
}

// A frame is still run and drawn (its after-frame turns given) when nothing may move.
TEST(SimulatorTimeTest, TheFixedStepMovesNothingWithoutAPositiveStepOrWhilePaused) {
    struct Case {
        const char* what;
        double step;
        bool addOnSetsTheStep;
        bool paused;
    };
    for (const Case& c :
         {Case{"a step of 0", 0, true, false}, Case{"a negative step", -0.25, true, false},
          Case{"a step that is no number", std::nan(""), true, false},
          Case{"nobody sets the step", 0.25, false, false}, Case{"paused", 0.25, true, true}}) {
        SCOPED_TRACE(c.what);
        SimulatorFixture f(3);
        startFixedStep(f, c.step, 3);
        if (!c.addOnSetsTheStep)
            f.entry<ZHostUnregisterEventFn>("api.dll", Api::UnregisterEvent)(ZHOST_EVENT_FIXED_STEP,
                                                                             &addOnFixedStep);
        f.sim->setPaused(c.paused);
        const double startClock = userClock(f);
        run(*f.sim, 3);
        EXPECT_EQ(0.0, f.sim->simulatedSeconds());
        EXPECT_EQ(startClock, userClock(f));
        EXPECT_EQ(3u, f.sim->frames());
        EXPECT_NEAR(3 * kFrame, f.sim->realSeconds(), 1e-12);
        EXPECT_EQ(9u, f.sim->idleTurns());
    }
}

TEST(SimulatorTimeTest, GetRateAnswersTheChosenRateWhileTheFixedStepHoldsTheRateWordAtZero) {
    SimulatorFixture f(4);
    auto getRate = f.entry<ZHostGetRateFn>("simscheduler.dll", Scheduler::GetRate);
    auto setRate = f.entry<ZHostSetRateFn>("simscheduler.dll", Scheduler::SetRate);
    uint32_t* rateWord = f.data<uint32_t>("main.dll", Main::RateWord);
    f.sim->setRate(2);
    *rateWord = 0;
    EXPECT_EQ(512u, getRate());
    EXPECT_DOUBLE_EQ(2, f.sim->rate());

    setRate(128);
    EXPECT_EQ(0u, *rateWord) << "the fixed step keeps the word";
    EXPECT_EQ(128u, getRate());
    f.sim->setRate(3);
    run(*f.sim, 2);
    EXPECT_EQ(0u, *rateWord);
    EXPECT_EQ(768u, getRate());
    EXPECT_DOUBLE_EQ(3, f.sim->rate());

    // A rate word an add-on writes is the rate, and kept aside from the next frame on.
    *rateWord = 640;
    EXPECT_EQ(640u, getRate());
    f.sim->frame();
    *rateWord = 0;
    EXPECT_EQ(640u, getRate());
    setRate(0);
    EXPECT_EQ(640u, getRate()) << "0 is no rate to keep";
}

TEST(SimulatorTimeTest, ARateWordBackFromZeroReturnsTheFramesToRealTimeByTheRate) {
    SimulatorFixture f(3);
    startFixedStep(f, 0.25, 0);
    run(*f.sim, 2);
    uint32_t* rateWord = f.data<uint32_t>("main.dll", Main::RateWord);
    const uint32_t* accumulatedTime = f.data<uint32_t>("main.dll", Main::AccumulatedTime);
    const double* frameTime = f.data<double>("main.dll", Main::FrameTime);
    ASSERT_TRUE(rateWord != nullptr && accumulatedTime != nullptr && frameTime != nullptr);
    *rateWord = 512; // the add-on gives the timing back; what it still writes into A counts no more
    const double startSeconds = f.sim->simulatedSeconds(), startClock = userClock(f);
    const uint32_t accumulated = *accumulatedTime;
    run(*f.sim, 9);
    EXPECT_NEAR(startSeconds + 9 * kFrame * 2, f.sim->simulatedSeconds(), 1e-12);
    EXPECT_NEAR(startClock + 9 * kFrame, userClock(f), 1e-12)
        << "the frame's own time; add-ons apply the rate";
    EXPECT_EQ(accumulated + static_cast<uint32_t>(9 * kFrame * 2 * 18), *accumulatedTime);
    EXPECT_DOUBLE_EQ(kFrame * 2, *frameTime);
    EXPECT_EQ(std::vector<double>(9, kFrame),
              std::vector<double>(addOn.startA.begin() + 2, addOn.startA.end()));
}

TEST(SimulatorTimeTest, TheDateIsSetThroughTheRecordAndRunsOverMidnight) {
    SimulatorFixture f(3);
    ZHostDateTime* word = f.data<ZHostDateTime>("main.dll", Main::DateTime);
    ZHostDateTime record = *word;
    f.entry<ZHostSetDateFn>("main.dll", Main::SetDate)(&record, 2024, 2, 29);
    record.hour = 23;
    record.minute = 59;
    record.second = 59;
    f.entry<ZHostApplyDateTimeFn>("main.dll", Main::ApplyDateTime)(&record);
    EXPECT_EQ(29, word->day);
    run(*f.sim, 31);
    const ZHostDateTime next = *word;
    EXPECT_EQ((std::vector<int>{2024, 3, 1, 0, 0, 0}),
              (std::vector<int>{next.year, next.month, next.day, next.hour, next.minute, next.second}));
    EXPECT_EQ(0u, f.wrongForms());
    f.entry<ZHostSetDateFn>("main.dll", Main::SetDate)(&record, 2023, 2, 29);
    EXPECT_EQ(1u, f.wrongForms()) << "no 29 February in 2023";
    EXPECT_EQ(2024, record.year);
    EXPECT_EQ(static_cast<uint32_t>(31 * kFrame * 18), *f.data<uint32_t>("main.dll", Main::AccumulatedTime));
}

} // namespace
