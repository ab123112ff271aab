// Measuring the frame time from the user aircraft's simulation group clock.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/FrameClock.h"

namespace {

constexpr std::size_t kOlderClock = 20, kNewerClock = 28; // bytes into the 36-byte entry

class FrameClockTest : public ::testing::Test {
protected:
    std::vector<ZHostSimGroup> groups = std::vector<ZHostSimGroup>(4);
    ZHostSimGroupTable table{};
    FrameClock clock;

    void SetUp() override {
        const char* names[] = {"AiSimGroup", "SimGroupUser", "AirplaneMainSimGroupUser", "HeloMainSimGroup"};
        for (std::size_t i = 0; i < groups.size(); ++i)
            groups[i].name = names[i];
        table = {groups.data(), static_cast<uint32_t>(groups.size()), {256, 1024}};
    }
    // The clock of a group, as the host keeps it at the given byte of the entry.
    void set(std::size_t group, std::size_t byte, double value) {
        std::memcpy(reinterpret_cast<unsigned char*>(&groups[group]) + byte, &value, sizeof value);
    }
    // Every group's clocks at both places, so a wrong group or place reads a different time.
    void setAll(double base) {
        for (std::size_t g = 0; g < groups.size(); ++g) {
            set(g, kOlderClock, base * static_cast<double>(g + 1));
            set(g, kNewerClock, base * static_cast<double>(g + 1) * 10);
        }
    }
};

TEST_F(FrameClockTest, ReadsTheUsersGroupAtTheHostsPlaceAndScalesByTheSmallerRate) {
    struct Case {
        bool older, helicopter;
        double expected; // for a base clock step of 0.01
    };
    for (const Case& c : {Case{true, false, 0.02}, Case{true, true, 0.02}, Case{false, false, 0.3},
                          Case{false, true, 0.4}}) {
        FrameClock fresh;
        setAll(1.0);
        fresh.measure(&table, c.older, c.helicopter, false);
        EXPECT_EQ(0, fresh.frameTime()) << "the first reading only primes";
        setAll(1.01);
        fresh.measure(&table, c.older, c.helicopter, false);
        EXPECT_NEAR(c.expected, fresh.frameTime(), 1e-9) << c.older << c.helicopter;
    }
    table.rateWords[0] = 2048; // the smaller of the two divides
    setAll(2.0);
    clock.measure(&table, true, false, false);
    setAll(2.1);
    clock.measure(&table, true, false, false);
    EXPECT_NEAR(0.2 * 256 / 1024, clock.frameTime(), 1e-9);
}

TEST_F(FrameClockTest, FollowsTheGroupByNameAndKeepsTheTimeWithoutIt) {
    set(1, kOlderClock, 1);
    clock.measure(&table, true, false, false);
    set(1, kOlderClock, 1.5);
    clock.measure(&table, true, false, false);
    ASSERT_DOUBLE_EQ(0.5, clock.frameTime());

    std::swap(groups[0], groups[1]); // the host reordered its table: found again by name
    set(0, kOlderClock, 1.75);
    set(1, kOlderClock, 99);
    clock.measure(&table, true, false, false);
    EXPECT_DOUBLE_EQ(0.25, clock.frameTime());

    clock.measure(nullptr, true, false, false);
    EXPECT_DOUBLE_EQ(0.25, clock.frameTime());
    groups[0].name = "Renamed";
    set(0, kOlderClock, 5);
    clock.measure(&table, true, false, false);
    EXPECT_DOUBLE_EQ(0.25, clock.frameTime());
}

} // namespace
