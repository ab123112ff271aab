#include <gtest/gtest.h>

#include "Packed.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "FlightData.h"

namespace {

// ---- Stored record sizes -------------------------------------------------------------------

struct ContSizeCase {
    uint32_t flags;
    uint32_t nEngines;
    uint32_t size;
};

TEST(RecordSizeTest, ContinuousSizeIsFixedPartPlusEverySetGroup) {
    const ContSizeCase cases[] = {
        {0, 0, 64},
        {0, 4, 64},
        {ContGroup::FlightControls, 2, 70},
        {ContGroup::Spoilers, 4, 66},
        {ContGroup::Airspeeds, 4, 72},
        {ContGroup::MainExit, 4, 68},
        {ContGroup::Tailhook, 4, 68},
        {ContGroup::WingFold, 4, 72},
        {ContGroup::AmbientWind, 4, 68},
        {ContGroup::Mach, 4, 68},
        {ContGroup::TimeOfDay, 4, 67},
        {ContGroup::ExtendedControls, 4, 84},
        {ContGroup::ExtendedFlaps, 4, 80},
        {ContGroup::ExtendedGear, 4, 84},
        {ContGroup::All, 4, 187},
        {ContGroup::All, 0, 163},
        {ContGroup::All, 1, 169},
        {ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Mixtures, 2, 78},
    };
    for (const ContSizeCase& c : cases) {
        SCOPED_TRACE("flags " + std::to_string(c.flags) + ", engines " + std::to_string(c.nEngines));
        EXPECT_EQ(contRecordSize(copyOf(c.flags), copyOf(c.nEngines)), c.size);
    }
}

TEST(RecordSizeTest, EngineGroupsTakeTwoBytesPerEngine) {
    for (uint32_t bit : {ContGroup::Throttles, ContGroup::Propellers, ContGroup::Mixtures}) {
        for (uint32_t n = 0; n <= 4; ++n) {
            SCOPED_TRACE("bit " + std::to_string(bit) + ", engines " + std::to_string(n));
            EXPECT_EQ(contGroupSize(bit, n), 2 * n);
            EXPECT_EQ(contRecordSize(bit, n), 64 + 2 * n);
        }
    }
}

TEST(RecordSizeTest, DiscreteSizeIsFixedPartPlusEverySetGroup) {
    struct Case {
        uint32_t flags;
        uint32_t size;
    };
    const Case cases[] = {
        {0, 5},
        {DiscGroup::Flaps, 6},
        {DiscGroup::Gear, 7},
        {DiscGroup::Lights, 7},
        {DiscGroup::ParkingBrake, 6},
        {DiscGroup::Engines, 6},
        {DiscGroup::NavRadios, 17},
        {DiscGroup::ComRadios, 11},
        {DiscGroup::Smoke, 6},
        {DiscGroup::Autopilot, 6},
        {DiscGroup::NoseVisor, 6},
        {DiscGroup::Date, 9},
        {DiscGroup::NavRadios | DiscGroup::ComRadios, 23},
        {DiscGroup::All, 37},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("flags " + std::to_string(c.flags));
        EXPECT_EQ(discRecordSize(copyOf(c.flags)), c.size);
    }
}

// ---- discDataEqual --------------------------------------------------------------------------

DiscData sampleDisc() {
    DiscData d{};
    d.timestamp = 120000;
    d.onground = 1;
    d.flaps = 2;
    d.gear = 1;
    d.lights = 0x0123;
    d.parkbrake = 1;
    d.engines = 0x05;
    d.nav1 = 0x00b41095;
    d.nav2 = 0x005a1170;
    d.adf = 0x03795000;
    d.com = 0x21002345;
    d.squawk = 0x7000;
    d.smoke = 0;
    d.autopilot = 1;
    d.concnose = 3;
    d.day = 15;
    d.month = 8;
    d.year = 2011;
    return d;
}

struct FieldCase {
    const char* field;
    uint32_t group;
    std::function<void(DiscData&)> change;
};

const FieldCase kFieldCases[] = {
    {"flaps", DiscGroup::Flaps, [](DiscData& d) { d.flaps = 3; }},
    {"gear", DiscGroup::Gear, [](DiscData& d) { d.gear = -1; }},
    {"gear high byte", DiscGroup::Gear, [](DiscData& d) { d.gear = 0x0101; }},
    {"lights", DiscGroup::Lights, [](DiscData& d) { d.lights = 0x8123; }},
    {"parkbrake", DiscGroup::ParkingBrake, [](DiscData& d) { d.parkbrake = 0; }},
    {"nav1", DiscGroup::NavRadios, [](DiscData& d) { d.nav1 = 0x00b51095; }},
    {"nav2", DiscGroup::NavRadios, [](DiscData& d) { d.nav2 = 0x005a1175; }},
    {"adf", DiscGroup::NavRadios, [](DiscData& d) { d.adf = 0x03796000; }},
    {"com1", DiscGroup::ComRadios, [](DiscData& d) { d.com = 0x21002350; }},
    {"com2", DiscGroup::ComRadios, [](DiscData& d) { d.com = 0x22002345; }},
    {"squawk", DiscGroup::ComRadios, [](DiscData& d) { d.squawk = 0x7700; }},
    {"smoke", DiscGroup::Smoke, [](DiscData& d) { d.smoke = 1; }},
    {"autopilot", DiscGroup::Autopilot, [](DiscData& d) { d.autopilot = 0; }},
    {"concnose", DiscGroup::NoseVisor, [](DiscData& d) { d.concnose = 1; }},
    {"day", DiscGroup::Date, [](DiscData& d) { d.day = 16; }},
    {"month", DiscGroup::Date, [](DiscData& d) { d.month = 9; }},
    {"year", DiscGroup::Date, [](DiscData& d) { d.year = 2012; }},
    {"year high byte", DiscGroup::Date, [](DiscData& d) { d.year = 2011 + 256; }},
};

TEST(DiscDataEqualTest, FieldIsComparedExactlyWhenItsGroupIsPresent) {
    for (const FieldCase& c : kFieldCases) {
        SCOPED_TRACE(c.field);
        DiscData a = sampleDisc();
        DiscData b = sampleDisc();
        c.change(b);
        EXPECT_FALSE(discDataEqual(a, b, c.group, 4));
        EXPECT_FALSE(discDataEqual(a, b, DiscGroup::All, 4));
        EXPECT_FALSE(discDataEqual(b, a, c.group, 4));
        // Every other group present, this one absent: the difference does not count.
        EXPECT_TRUE(discDataEqual(a, b, DiscGroup::All & ~c.group, 4));
    }
}

TEST(DiscDataEqualTest, OnGroundIsAlwaysCompared) {
    DiscData a = sampleDisc();
    DiscData b = sampleDisc();
    b.onground = 0;
    EXPECT_FALSE(discDataEqual(a, b, 0, 0));
    EXPECT_FALSE(discDataEqual(a, b, DiscGroup::All, 4));
}

TEST(DiscDataEqualTest, TimestampIsNeverCompared) {
    DiscData a = sampleDisc();
    DiscData b = sampleDisc();
    b.timestamp = a.timestamp + 1;
    EXPECT_TRUE(discDataEqual(a, b, DiscGroup::All, 4));
    EXPECT_TRUE(discDataEqual(a, b, 0, 0));
}

TEST(DiscDataEqualTest, EnginesCompareOnlyTheBitsOfExistingEngines) {
    struct Case {
        uint32_t nEngines;
        int bit;
        bool equal;
    };
    const Case cases[] = {
        {0, 0, true},  {1, 0, false}, {1, 1, true},  {1, 7, true},  {2, 1, false}, {2, 2, true},
        {3, 2, false}, {3, 3, true},  {4, 3, false}, {4, 4, true},  {4, 7, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("engines " + std::to_string(c.nEngines) + ", bit " + std::to_string(c.bit));
        DiscData a = sampleDisc();
        DiscData b = sampleDisc();
        b.engines = static_cast<uint8_t>(b.engines ^ (1u << c.bit));
        EXPECT_EQ(discDataEqual(a, b, DiscGroup::Engines, copyOf(c.nEngines)), c.equal);
        // Without the engines group no engine bit counts.
        EXPECT_TRUE(discDataEqual(a, b, DiscGroup::All & ~DiscGroup::Engines, copyOf(c.nEngines)));
    }
}

// ---- clearDiscData --------------------------------------------------------------------------

TEST(ClearDiscDataTest, ZeroesAllButTimestampAndTheUpperEngineBits) {
    DiscData d;
    std::memset(&d, 0xff, sizeof d);
    d.timestamp = 0x12345678;
    d.engines = 0xa5;
    clearDiscData(d);

    DiscData expected;
    std::memset(&expected, 0, sizeof expected);
    expected.timestamp = 0x12345678;
    expected.engines = 0xa0;
    EXPECT_EQ(std::memcmp(&d, &expected, sizeof d), 0);
}

// ---- BCD frequencies ------------------------------------------------------------------------

TEST(BcdTest, NavComFrequencyHasAnImpliedLeadingOne) {
    const std::pair<uint16_t, double> cases[] = {
        {0x0000, 100.00}, {0x1095, 110.95}, {0x1170, 111.70}, {0x2345, 123.45},
        {0x3690, 136.90}, {0x1800, 118.00}, {0x9999, 199.99},
    };
    for (const auto& [bcd, mhz] : cases) {
        SCOPED_TRACE(bcd);
        EXPECT_NEAR(bcdNavComMHz(bcd), mhz, 1e-9);
    }
}

TEST(BcdTest, SquawkIsFourDecimalDigits) {
    const std::pair<uint16_t, uint32_t> cases[] = {
        {0x0000, 0}, {0x1200, 1200}, {0x7700, 7700}, {0x4521, 4521}, {0x0007, 7}, {0x7777, 7777},
    };
    for (const auto& [bcd, code] : cases) {
        SCOPED_TRACE(bcd);
        EXPECT_EQ(bcdSquawk(bcd), code);
    }
}

TEST(BcdTest, AdfUsesTheHighWordAndTenthsNibbleOnly) {
    const std::pair<uint32_t, double> cases[] = {
        {0x03790000, 379.0}, {0x03795000, 379.5}, {0x12345000, 1234.5},
        {0x12345fff, 1234.5}, {0x00000fff, 0.0},  {0x01909000, 190.9},
    };
    for (const auto& [adf, khz] : cases) {
        SCOPED_TRACE(adf);
        EXPECT_NEAR(bcdAdfKHz(adf), khz, 1e-9);
    }
}

} // namespace
