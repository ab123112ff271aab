#include <gtest/gtest.h>

#include "Packed.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "DataBuffer.h"
#include "FlightData.h"
#include "ZephrelException.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The stored form written out field by field, in table order, as an independent account of the
// packing: fixed fields, then each present group, engine groups with nEngines elements.
class Packer {
public:
    // By value: packed fields cannot bind to references.
    template <typename T> void put(T value) {
        const auto* p = reinterpret_cast<const unsigned char*>(&value);
        bytes.insert(bytes.end(), p, p + sizeof value);
    }
    Bytes bytes;
};

Bytes packCont(const ContData& c, uint32_t flags, uint32_t n) {
    Packer p;
    p.put(c.timestamp), p.put(c.latitude), p.put(c.longitude), p.put(c.altitude);
    p.put(c.pitch), p.put(c.bank), p.put(c.heading);
    p.put(c.velocityX), p.put(c.velocityY), p.put(c.velocityZ);
    if (flags & ContGroup::FlightControls)
        p.put(c.elevators), p.put(c.ailerons), p.put(c.rudder);
    for (uint32_t i = 0; i < n && (flags & ContGroup::Throttles); ++i)
        p.put(c.throttle[i]);
    for (uint32_t i = 0; i < n && (flags & ContGroup::Propellers); ++i)
        p.put(c.prop[i]);
    for (uint32_t i = 0; i < n && (flags & ContGroup::Mixtures); ++i)
        p.put(c.mix[i]);
    if (flags & ContGroup::Spoilers)
        p.put(c.spoilers);
    if (flags & ContGroup::Airspeeds)
        p.put(c.IAS), p.put(c.TAS);
    if (flags & ContGroup::MainExit)
        p.put(c.mainexit);
    if (flags & ContGroup::Tailhook)
        p.put(c.tailhook);
    if (flags & ContGroup::WingFold)
        p.put(c.wingfoldL), p.put(c.wingfoldR);
    if (flags & ContGroup::AmbientWind)
        p.put(c.windDir), p.put(c.windSpd);
    if (flags & ContGroup::Mach)
        p.put(c.mach);
    if (flags & ContGroup::TimeOfDay)
        p.put(c.hour), p.put(c.minute), p.put(c.second);
    if (flags & ContGroup::ExtendedControls)
        for (std::size_t i = 0; i < 5; ++i)
            p.put(c.extControls[i]);
    if (flags & ContGroup::ExtendedFlaps)
        for (std::size_t i = 0; i < 8; ++i)
            p.put(c.extFlaps[i]);
    if (flags & ContGroup::ExtendedGear)
        for (std::size_t i = 0; i < 5; ++i)
            p.put(c.extGear[i]);
    return p.bytes;
}

Bytes packDisc(const DiscData& d, uint32_t flags) {
    Packer p;
    p.put(d.timestamp), p.put(d.onground);
    if (flags & DiscGroup::Flaps)
        p.put(d.flaps);
    if (flags & DiscGroup::Gear)
        p.put(d.gear);
    if (flags & DiscGroup::Lights)
        p.put(d.lights);
    if (flags & DiscGroup::ParkingBrake)
        p.put(d.parkbrake);
    if (flags & DiscGroup::Engines)
        p.put(d.engines);
    if (flags & DiscGroup::NavRadios)
        p.put(d.nav1), p.put(d.nav2), p.put(d.adf);
    if (flags & DiscGroup::ComRadios)
        p.put(d.com), p.put(d.squawk);
    if (flags & DiscGroup::Smoke)
        p.put(d.smoke);
    if (flags & DiscGroup::Autopilot)
        p.put(d.autopilot);
    if (flags & DiscGroup::NoseVisor)
        p.put(d.concnose);
    if (flags & DiscGroup::Date)
        p.put(d.day), p.put(d.month), p.put(d.year);
    return p.bytes;
}

template <typename T> T randomRecord(std::mt19937& rng) {
    T record;
    auto* p = reinterpret_cast<unsigned char*>(&record);
    for (std::size_t i = 0; i < sizeof record; ++i)
        p[i] = static_cast<unsigned char>(rng());
    return record;
}

template <typename T> T filledRecord(unsigned char byte) {
    T record;
    std::memset(&record, byte, sizeof record);
    return record;
}

// EXPECT_EQ takes references, which packed fields cannot bind to; it compares copies instead.
template <typename T> T unpacked(T value) { return value; }

Bytes slice(const Bytes& b, std::size_t from, std::size_t size) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + size));
}

// The packed groups without the fixed fields.
Bytes groupsOf(const Bytes& packed) { return slice(packed, kContFixedSize, packed.size() - kContFixedSize); }
Bytes discGroupsOf(const Bytes& packed) { return slice(packed, kDiscFixedSize, packed.size() - kDiscFixedSize); }

constexpr unsigned char kFill = 0xcd;
constexpr uint32_t kRecords = 4;

// ---- Offsets and sizes ----------------------------------------------------------------------

TEST(DataBufferLayoutTest, AllGroupsWithFourEnginesLieInAscendingBitOrder) {
    DataBuffer buffer(nullptr, nullptr, {4, ContGroup::All, DiscGroup::All, 0, 0});
    const std::pair<uint32_t, uint32_t> cont[] = {
        {0x0001, 64},  {0x0002, 70},  {0x0004, 78},  {0x0008, 86},  {0x0010, 94},
        {0x0020, 96},  {0x0040, 104}, {0x0080, 108}, {0x0100, 112}, {0x0200, 120},
        {0x0400, 124}, {0x0800, 128}, {0x1000, 131}, {0x2000, 151}, {0x4000, 167},
    };
    for (const auto& [bit, offset] : cont)
        EXPECT_EQ(buffer.contOffset(bit), offset) << "cont bit " << bit;
    const std::pair<uint32_t, uint32_t> disc[] = {
        {0x001, 5},  {0x002, 6},  {0x004, 8},  {0x008, 10}, {0x010, 11}, {0x020, 12},
        {0x040, 24}, {0x080, 30}, {0x100, 31}, {0x200, 32}, {0x400, 33},
    };
    for (const auto& [bit, offset] : disc)
        EXPECT_EQ(buffer.discOffset(bit), offset) << "disc bit " << bit;
    EXPECT_EQ(unpacked(copyOf(buffer.format().contRecordSize)), 187u);
    EXPECT_EQ(unpacked(copyOf(buffer.format().discRecordSize)), 37u);
}

TEST(DataBufferLayoutTest, AbsentPropellersTakeNoSpaceBetweenThrottlesAndMixtures) {
    const uint32_t flags = ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Mixtures | ContGroup::Spoilers;
    DataBuffer buffer(nullptr, nullptr, {2, flags, 0, 0, 0});
    EXPECT_EQ(buffer.contOffset(ContGroup::FlightControls), 64u);
    EXPECT_EQ(buffer.contOffset(ContGroup::Throttles), 70u);
    EXPECT_EQ(buffer.contOffset(ContGroup::Mixtures), 74u);
    EXPECT_EQ(buffer.contOffset(ContGroup::Spoilers), 78u);
    EXPECT_EQ(buffer.contOffset(ContGroup::Propellers), 0u);
    EXPECT_EQ(unpacked(copyOf(buffer.format().contRecordSize)), 80u);
}

TEST(DataBufferLayoutTest, MachFollowsWindAndPrecedesTimeOfDay) {
    DataBuffer buffer(nullptr, nullptr,
                      {0, ContGroup::AmbientWind | ContGroup::Mach | ContGroup::TimeOfDay, 0, 0, 0});
    EXPECT_EQ(buffer.contOffset(ContGroup::AmbientWind), 64u);
    EXPECT_EQ(buffer.contOffset(ContGroup::Mach), 68u);
    EXPECT_EQ(buffer.contOffset(ContGroup::TimeOfDay), 72u);
    EXPECT_EQ(unpacked(copyOf(buffer.format().contRecordSize)), 75u);
}

TEST(DataBufferLayoutTest, GivenRecordSizesWinOverComputedOnes) {
    DataBuffer computed(nullptr, nullptr, {3, ContGroup::Throttles, DiscGroup::Gear, 0, 0});
    EXPECT_EQ(unpacked(copyOf(computed.format().nEngines)), 3);
    EXPECT_EQ(unpacked(copyOf(computed.format().ContFlags)), ContGroup::Throttles);
    EXPECT_EQ(unpacked(copyOf(computed.format().DiscFlags)), DiscGroup::Gear);
    EXPECT_EQ(unpacked(copyOf(computed.format().contRecordSize)), 70u);
    EXPECT_EQ(unpacked(copyOf(computed.format().discRecordSize)), 7u);

    DataBuffer given(nullptr, nullptr, {3, ContGroup::Throttles, DiscGroup::Gear, 99, 12});
    EXPECT_EQ(unpacked(copyOf(given.format().contRecordSize)), 99u);
    EXPECT_EQ(unpacked(copyOf(given.format().discRecordSize)), 12u);
}

// ---- Copies against the documented packing ---------------------------------------------------

struct RandomFormat {
    DataFormat format;
    uint32_t contStride;
    uint32_t discStride;
};

uint32_t next(std::mt19937& rng) { return static_cast<uint32_t>(rng()); }

// Any engine count and groups; half the time the stored sizes exceed the known groups.
RandomFormat randomFormat(std::mt19937& rng) {
    auto n = static_cast<uint8_t>(next(rng) % 5);
    uint32_t cont = next(rng) & ContGroup::All;
    uint32_t disc = next(rng) & DiscGroup::All;
    uint32_t contExtra = (next(rng) % 2) ? next(rng) % 13 : 0;
    uint32_t discExtra = (next(rng) % 2) ? next(rng) % 13 : 0;
    // Sized by the reference packing, so a wrong size computation fails a check instead of
    // overrunning the test's arrays.
    auto contSize = static_cast<uint32_t>(packCont(ContData{}, cont, n).size()) + contExtra;
    auto discSize = static_cast<uint32_t>(packDisc(DiscData{}, disc).size()) + discExtra;
    return {{n, cont, disc, contExtra ? contSize : 0, discExtra ? discSize : 0}, contSize, discSize};
}

TEST(DataBufferCopyTest, SetWritesOnlyThePackedFieldsOfItsRecord) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 300; ++round) {
        RandomFormat f = randomFormat(rng);
        SCOPED_TRACE("round " + std::to_string(round));
        Bytes cont(f.contStride * kRecords, kFill);
        Bytes disc(f.discStride * kRecords, kFill);
        DataBuffer buffer(cont.data(), disc.data(), f.format);
        EXPECT_EQ(unpacked(copyOf(buffer.format().contRecordSize)), f.contStride);
        EXPECT_EQ(unpacked(copyOf(buffer.format().discRecordSize)), f.discStride);

        const uint32_t index = next(rng) % kRecords;
        const auto c = randomRecord<ContData>(rng);
        const auto d = randomRecord<DiscData>(rng);
        buffer.setContData(index, c);
        buffer.setDiscData(index, d);

        Bytes expectedCont(cont.size(), kFill);
        Bytes packed = packCont(c, f.format.ContFlags, f.format.nEngines);
        std::copy(packed.begin(), packed.end(), expectedCont.begin() + std::ptrdiff_t{index * f.contStride});
        EXPECT_EQ(cont, expectedCont);

        Bytes expectedDisc(disc.size(), kFill);
        packed = packDisc(d, f.format.DiscFlags);
        std::copy(packed.begin(), packed.end(), expectedDisc.begin() + std::ptrdiff_t{index * f.discStride});
        EXPECT_EQ(disc, expectedDisc);

        EXPECT_EQ(buffer.getContTimestamp(index), unpacked(copyOf(c.timestamp)));
        EXPECT_EQ(buffer.getDiscTimestamp(index), unpacked(copyOf(d.timestamp)));
    }
}

TEST(DataBufferCopyTest, GetFillsPresentFieldsAndLeavesTheRestAlone) {
    std::mt19937 rng(99);
    for (int round = 0; round < 300; ++round) {
        RandomFormat f = randomFormat(rng);
        SCOPED_TRACE("round " + std::to_string(round));
        Bytes cont(f.contStride * kRecords);
        Bytes disc(f.discStride * kRecords);
        for (unsigned char& b : cont)
            b = static_cast<unsigned char>(rng());
        for (unsigned char& b : disc)
            b = static_cast<unsigned char>(rng());
        DataBuffer buffer(cont.data(), disc.data(), f.format);
        const uint32_t index = next(rng) % kRecords;

        // What get must produce: a record whose packed form is the stored bytes, while the fields
        // of absent groups and the engine slots beyond nEngines keep the value they had before.
        const auto before = filledRecord<ContData>(0x5e);
        ContData c = before;
        buffer.getContData(index, c);
        const uint32_t n = f.format.nEngines;
        const uint32_t absent = ContGroup::All & ~f.format.ContFlags;
        Bytes packed = packCont(c, f.format.ContFlags, n);
        EXPECT_EQ(packed, slice(cont, index * f.contStride, packed.size()));
        EXPECT_EQ(groupsOf(packCont(c, absent, kMaxEngines)), groupsOf(packCont(before, absent, kMaxEngines)))
            << "absent groups were written";
        for (uint32_t e = n; e < kMaxEngines; ++e) {
            EXPECT_EQ(unpacked(copyOf(c.throttle[e])), unpacked(copyOf(before.throttle[e]))) << "throttle slot " << e;
            EXPECT_EQ(unpacked(copyOf(c.prop[e])), unpacked(copyOf(before.prop[e]))) << "prop slot " << e;
            EXPECT_EQ(unpacked(copyOf(c.mix[e])), unpacked(copyOf(before.mix[e]))) << "mix slot " << e;
        }

        const auto discBefore = filledRecord<DiscData>(0x5e);
        DiscData d = discBefore;
        buffer.getDiscData(index, d);
        packed = packDisc(d, f.format.DiscFlags);
        EXPECT_EQ(packed, slice(disc, index * f.discStride, packed.size()));
        const uint32_t absentDisc = DiscGroup::All & ~f.format.DiscFlags;
        EXPECT_EQ(discGroupsOf(packDisc(d, absentDisc)), discGroupsOf(packDisc(discBefore, absentDisc)))
            << "absent groups were written";
    }
}

TEST(DataBufferCopyTest, RecordsAreSpacedByTheGivenRecordSize) {
    // Three bytes per record more than the groups need, as in a file from a later version.
    const DataFormat format{1, ContGroup::Throttles, DiscGroup::Flaps, 69, 9};
    Bytes cont(69 * 3, kFill);
    Bytes disc(9 * 3, kFill);
    DataBuffer buffer(cont.data(), disc.data(), format);
    for (uint32_t i = 0; i < 3; ++i) {
        ContData c{};
        c.timestamp = 1000 * (i + 1);
        c.throttle[0] = static_cast<int16_t>(i + 7);
        buffer.setContData(i, c);
        DiscData d{};
        d.timestamp = 2000 * (i + 1);
        d.flaps = static_cast<uint8_t>(i + 1);
        buffer.setDiscData(i, d);
    }
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(buffer.getContTimestamp(i), 1000 * (i + 1));
        EXPECT_EQ(buffer.getDiscTimestamp(i), 2000 * (i + 1));
        EXPECT_EQ(cont[i * 69 + 64], static_cast<unsigned char>(i + 7));
        EXPECT_EQ(disc[i * 9 + 5], static_cast<unsigned char>(i + 1));
        // The bytes this program does not know about survive.
        EXPECT_EQ(slice(cont, i * 69 + 66, 3), Bytes(3, kFill));
        EXPECT_EQ(slice(disc, i * 9 + 6, 3), Bytes(3, kFill));
    }
}

// ---- Missing buffers --------------------------------------------------------------------------

struct NullCase {
    const char* function;
    bool needsCont;
    std::function<void(DataBuffer&)> call;
};

const NullCase kNullCases[] = {
    {"DataBuffer::getContData", true, [](DataBuffer& b) { ContData c{}; b.getContData(0, c); }},
    {"DataBuffer::setContData", true, [](DataBuffer& b) { b.setContData(0, ContData{}); }},
    {"DataBuffer::getDiscData", false, [](DataBuffer& b) { DiscData d{}; b.getDiscData(0, d); }},
    {"DataBuffer::setDiscData", false, [](DataBuffer& b) { b.setDiscData(0, DiscData{}); }},
    {"DataBuffer::getContTimestamp", true, [](DataBuffer& b) { (void)b.getContTimestamp(0); }},
    {"DataBuffer::getDiscTimestamp", false, [](DataBuffer& b) { (void)b.getDiscTimestamp(0); }},
};

TEST(DataBufferNullTest, MissingBufferStopsWithAnUnexpectedError) {
    for (const NullCase& c : kNullCases) {
        SCOPED_TRACE(c.function);
        Bytes present(256, 0);
        DataBuffer buffer(c.needsCont ? nullptr : present.data(), c.needsCont ? present.data() : nullptr,
                          {4, ContGroup::All, DiscGroup::All, 0, 0});
        try {
            c.call(buffer);
            ADD_FAILURE() << "no exception";
        } catch (const ZephrelException& e) {
            EXPECT_EQ(e.code, 16u);
            EXPECT_EQ(e.severity, 2u);
            EXPECT_EQ(e.userText, "An unexpected error occured!");
            EXPECT_EQ(e.function, c.function);
            EXPECT_EQ(e.logText.rfind("Error: Buffer pointer is NULL [" + std::string(c.function) + ", line ", 0), 0u)
                << e.logText;
        }
    }
}

TEST(DataBufferNullTest, OnlyTheBufferAnOperationNeedsIsChecked) {
    for (const NullCase& c : kNullCases) {
        SCOPED_TRACE(c.function);
        Bytes present(256, 0);
        DataBuffer buffer(c.needsCont ? present.data() : nullptr, c.needsCont ? nullptr : present.data(),
                          {4, ContGroup::All, DiscGroup::All, 0, 0});
        EXPECT_NO_THROW(c.call(buffer));
    }
}

} // namespace
