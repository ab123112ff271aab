// Time as add-ons see it: pause, rate, the simulation groups' clock, the fixed step, the date.
#include <cstring>
#include <ostream>

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

// With the rate word at 0 only idle calls move the simulation, each by one tick.
TEST(SimulatorTimeTest, TheFixedStepAdvancesByIdleCallsOnly) {
    SimulatorFixture f(1);
    *f.data<uint32_t>("main.dll", Main::RateWord) = 0;
    run(*f.sim, 3);
    EXPECT_EQ(0.0, f.sim->simulatedSeconds());
    f.entry<ZHostTickFn>("api.dll", Api::Tick)(500);
    auto apiIdle = f.entry<ZHostIdleFn>("api.dll", Api::Idle);
    auto feIdle = f.entry<ZHostIdleFn>("fe.dll", Fe::Idle);
    for (int i = 0; i < 10; ++i)
        (i % 2 == 0 ? apiIdle : feIdle)();
    EXPECT_NEAR(10.0 / 500, f.sim->simulatedSeconds(), 1e-12);
    f.sim->setPaused(true);
    apiIdle();
    EXPECT_NEAR(10.0 / 500, f.sim->simulatedSeconds(), 1e-12);
    f.sim->setPaused(false);
    f.sim->setRate(1);
    apiIdle();
    EXPECT_NEAR(10.0 / 500, f.sim->simulatedSeconds(), 1e-12) << "idle does nothing while the rate drives";
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
