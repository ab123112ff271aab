#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "common/FlightData.h"
#include "support/Packed.h"
#include "support/RecordLayout.h"

namespace {

// ---- stored record sizes ----

TEST(RecordSizeTest, RecordIsTheFixedPartPlusEveryPresentGroup) {
    EXPECT_EQ(64u, contRecordSize(0, 4));
    EXPECT_EQ(187u, contRecordSize(ContGroup::All, 4));
    EXPECT_EQ(163u, contRecordSize(ContGroup::All, 0));
    EXPECT_EQ(5u, discRecordSize(0));
    EXPECT_EQ(37u, discRecordSize(DiscGroup::All));
    EXPECT_EQ(78u, contRecordSize(ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Mixtures, 2));
    EXPECT_EQ(23u, discRecordSize(DiscGroup::NavRadios | DiscGroup::ComRadios));
    // Every single group, and a bit beyond the last one, which takes nothing.
    for (uint32_t n = 0; n <= 4; ++n) {
        for (uint32_t i = 0; i <= 15; ++i) {
            SCOPED_TRACE("continuous bit " + std::to_string(i) + ", engines " + std::to_string(n));
            const auto size = static_cast<uint32_t>(packing::pack(ContData{}, 1u << i, n).size());
            EXPECT_EQ(size - 64, contGroupSize(1u << i, n));
            EXPECT_EQ(size, contRecordSize(1u << i, n));
        }
    }
    for (uint32_t i = 0; i <= 11; ++i) {
        SCOPED_TRACE("discrete bit " + std::to_string(i));
        const auto size = static_cast<uint32_t>(packing::pack(DiscData{}, 1u << i, 0).size());
        EXPECT_EQ(size - 5, discGroupSize(1u << i));
        EXPECT_EQ(size, discRecordSize(1u << i));
    }
}

// ---- discDataEqual ----

DiscData sampleDisc() {
    return {.timestamp = 120000, .onground = 1, .flaps = 2, .gear = 1, .lights = 0x0123, .parkbrake = 1,
            .engines = 0x05, .nav1 = 0x00b41095, .nav2 = 0x005a1170, .adf = 0x03795000, .com = 0x21002345,
            .squawk = 0x7000, .smoke = 0, .autopilot = 1, .concnose = 3, .day = 15, .month = 8, .year = 2011};
}

constexpr uint32_t kAlways = 0; // compared whatever the groups

TEST(DiscDataEqualTest, FieldIsComparedExactlyWhenItsGroupIsPresent) {
    const struct {
        const char* field;
        uint32_t group;
        std::function<void(DiscData&)> change;
    } cases[] = {
        {"onground", kAlways, [](DiscData& d) { d.onground = 0; }},
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        const DiscData a = sampleDisc();
        DiscData b = sampleDisc();
        c.change(b);
        EXPECT_FALSE(discDataEqual(a, b, c.group, 4));
        EXPECT_FALSE(discDataEqual(b, a, c.group, 0));
        EXPECT_FALSE(discDataEqual(a, b, DiscGroup::All, 4));
        // Every other group present, this one absent: the difference does not count.
        EXPECT_EQ(c.group != kAlways, discDataEqual(a, b, DiscGroup::All & ~c.group, 4));
    }
    DiscData later = sampleDisc();
    later.timestamp += 1;
    EXPECT_TRUE(discDataEqual(sampleDisc(), later, DiscGroup::All, 4)) << "the timestamp is never compared";
}

TEST(DiscDataEqualTest, EnginesCompareOnlyTheBitsOfExistingEngines) {
    const struct {
        uint32_t nEngines;
        int bit;
        bool equal;
    } cases[] = {{0, 0, true},  {1, 0, false}, {1, 1, true}, {1, 7, true},  {2, 1, false}, {2, 2, true},
                 {3, 2, false}, {3, 3, true},  {4, 3, false}, {4, 4, true}, {4, 7, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE("engines " + std::to_string(c.nEngines) + ", bit " + std::to_string(c.bit));
        const DiscData a = sampleDisc();
        DiscData b = sampleDisc();
        b.engines = static_cast<uint8_t>(b.engines ^ (1u << c.bit));
        EXPECT_EQ(c.equal, discDataEqual(a, b, DiscGroup::Engines, c.nEngines));
        EXPECT_TRUE(discDataEqual(a, b, DiscGroup::All & ~DiscGroup::Engines, c.nEngines));
    }
}

TEST(ClearDiscDataTest, ZeroesAllButTimestampAndTheUpperEngineBits) {
    DiscData d;
    std::memset(&d, 0xff, sizeof d);
    d.timestamp = 0x12345678;
    d.engines = 0xa5;
    clearDiscData(d);
    DiscData expected{};
    expected.timestamp = 0x12345678;
    expected.engines = 0xa0;
    EXPECT_EQ(0, std::memcmp(&d, &expected, sizeof d));
}

// ---- BCD frequencies ----

TEST(BcdTest, FrequenciesAndCodesAreReadDigitByDigit) {
    const std::pair<uint16_t, double> navCom[] = {{0x0000, 100.00}, {0x1095, 110.95}, {0x2345, 123.45},
                                                  {0x3690, 136.90}, {0x9999, 199.99}};
    for (const auto& [bcd, mhz] : navCom)
        EXPECT_NEAR(mhz, bcdNavComMHz(bcd), 1e-9) << bcd;
    const std::pair<uint16_t, uint32_t> squawks[] = {{0x0000, 0}, {0x1200, 1200}, {0x4521, 4521}, {0x0007, 7}};
    for (const auto& [bcd, code] : squawks)
        EXPECT_EQ(code, bcdSquawk(bcd)) << bcd;
    // ADF: kHz in the high word, tenths in the nibble below it; the rest does not count.
    const std::pair<uint32_t, double> adfs[] = {{0x03790000, 379.0}, {0x12345000, 1234.5}, {0x12345fff, 1234.5},
                                                {0x00000fff, 0.0},   {0x01909000, 190.9}};
    for (const auto& [adf, khz] : adfs)
        EXPECT_NEAR(khz, bcdAdfKHz(adf), 1e-9) << adf;
}

} // namespace
