// The key events an aircraft takes, with the event numbers and value encodings the add-on uses.

#include <gtest/gtest.h>

#include <cmath>

#include "world/Aircraft.h"

namespace {

using HostNumbers::Quantity;

constexpr uint32_t kFlapsAxis = 0x103E6;
constexpr uint32_t kParkingBrakeToggle = 0x100D8;
constexpr uint32_t kAdf = 0x103AF;

class AircraftKeyEventsTest : public ::testing::Test {
protected:
    Aircraft make(int flapPositions = 0) {
        AircraftType type;
        type.title = "Test";
        type.flapPositions = flapPositions;
        return Aircraft(1, type, context, StartPosition{});
    }

    SimContext context{HostVersion::accepted(3)};
};

// The add-on sends trunc(index / positions * 32768 - 16384) for a handle index; every index comes back.
TEST_F(AircraftKeyEventsTest, FlapsAxisSelectsTheNearestHandleIndex) {
    for (int positions : {1, 2, 3, 5, 6}) {
        Aircraft aircraft = make(positions);
        for (int index = 0; index <= positions; ++index) {
            const auto axis =
                static_cast<int32_t>(std::trunc(static_cast<double>(index) / positions * 32768 - 16384));
            aircraft.keyEvent(kFlapsAxis, static_cast<uint32_t>(axis));
            EXPECT_EQ(index, aircraft.quantity(Quantity::FlapHandleIndex))
                << positions << " positions, axis " << axis;
        }
        aircraft.keyEvent(kFlapsAxis, static_cast<uint32_t>(-30000));
        EXPECT_EQ(0, aircraft.quantity(Quantity::FlapHandleIndex));
        aircraft.keyEvent(kFlapsAxis, 30000);
        EXPECT_EQ(positions, aircraft.quantity(Quantity::FlapHandleIndex));
    }
    EXPECT_EQ(0u, context.wrongForms.count());
}

TEST_F(AircraftKeyEventsTest, ParkingBrakeToggles) {
    Aircraft aircraft = make();
    const double parked = aircraft.quantity(Quantity::ParkingBrakePosition);
    for (int i = 1; i <= 3; ++i) {
        aircraft.keyEvent(kParkingBrakeToggle, 0);
        EXPECT_EQ(i % 2 == 1 ? 1 - parked : parked, aircraft.quantity(Quantity::ParkingBrakePosition));
    }
}

// The recorded ADF word is (F << 16) | ((E & 0x0F00) << 20) | ((E & 0x000F) << 12) of the host's
// frequency F (BCD kHz below 1000) and extended value E (thousands, tenths).
TEST_F(AircraftKeyEventsTest, AdfWordGivesBackBothFrequencyValues) {
    Aircraft aircraft = make();
    const struct {
        uint32_t frequency, extended;
    } cases[] = {{0x0344, 0x0000}, {0x0215, 0x0105}, {0x0999, 0x0F09}, {0x0000, 0x0100}, {0x0123, 0x0007}};
    for (const auto& c : cases) {
        const uint32_t word =
            (c.frequency << 16) | ((c.extended & 0x0F00) << 20) | ((c.extended & 0x000F) << 12);
        aircraft.keyEvent(kAdf, word);
        EXPECT_EQ(c.frequency, aircraft.quantity(Quantity::AdfFrequency, 1)) << std::hex << word;
        EXPECT_EQ(c.extended, aircraft.quantity(Quantity::AdfExtendedFrequency, 1)) << std::hex << word;
    }
}

TEST_F(AircraftKeyEventsTest, RadioSmokeAndAutopilotEventsSetTheirVariables) {
    Aircraft aircraft = make();
    const struct {
        uint32_t event, value;
        Quantity quantity;
        int index;
        double expected;
    } cases[] = {
        {0x100AC, 0x1235, Quantity::NavActiveFrequency, 1, 0x1235},
        {0x100AD, 0x0870, Quantity::NavActiveFrequency, 2, 0x0870},
        {0x100B4, 275, Quantity::NavObs, 1, 275},
        {0x100B5, 90, Quantity::NavObs, 2, 90},
        {0x100AB, 0x2345, Quantity::ComActiveFrequency, 1, 0x2345},
        {0x1038A, 0x1975, Quantity::ComActiveFrequency, 2, 0x1975},
        {0x100B3, 0x7700, Quantity::TransponderCode, 0, 0x7700},
        {0x10201, 0, Quantity::SmokeEnable, 0, 1},
        {0x10100, 0, Quantity::AutopilotMaster, 0, 1},
    };
    for (const auto& c : cases) {
        aircraft.keyEvent(c.event, c.value);
        EXPECT_EQ(c.expected, aircraft.quantity(c.quantity, c.index)) << std::hex << c.event;
    }
    aircraft.keyEvent(0x10202, 0);
    EXPECT_EQ(0, aircraft.quantity(Quantity::SmokeEnable));
    aircraft.keyEvent(0x100FF, 0);
    EXPECT_EQ(0, aircraft.quantity(Quantity::AutopilotMaster));
    EXPECT_EQ(0u, context.wrongForms.count());
}

TEST_F(AircraftKeyEventsTest, UnknownEventsAreIgnoredAndCounted) {
    Aircraft aircraft = make();
    const double com = aircraft.quantity(Quantity::ComActiveFrequency, 1);
    aircraft.keyEvent(0x100AA, 0x1111);
    EXPECT_EQ(com, aircraft.quantity(Quantity::ComActiveFrequency, 1));
    EXPECT_EQ(1u, context.wrongForms.count());
}

} // namespace
