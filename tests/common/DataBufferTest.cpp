#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "common/DataBuffer.h"
#include "support/Errors.h"
#include "support/Packed.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"

namespace {

constexpr unsigned char kFill = 0xcd;
constexpr uint32_t kRecords = 4;

struct RandomFormat {
    DataFormat format;
    uint32_t contStride;
    uint32_t discStride;
};

uint32_t next(std::mt19937& rng) { return static_cast<uint32_t>(rng()); }

// Any engine count and groups; half the time the stored sizes exceed the known groups, as in a
// file of a later version, otherwise they are left for DataBuffer to work out.
RandomFormat randomFormat(std::mt19937& rng) {
    auto n = static_cast<uint8_t>(next(rng) % 5);
    uint32_t cont = next(rng) & ContGroup::All;
    uint32_t disc = next(rng) & DiscGroup::All;
    uint32_t contExtra = (next(rng) % 2) ? next(rng) % 13 : 0;
    uint32_t discExtra = (next(rng) % 2) ? next(rng) % 13 : 0;
    // Sized by the documented layout, so a wrong size fails a check instead of overrunning the arrays.
    auto contSize = static_cast<uint32_t>(packing::pack(ContData{}, cont, n).size()) + contExtra;
    auto discSize = static_cast<uint32_t>(packing::pack(DiscData{}, disc, n).size()) + discExtra;
    return {{n, cont, disc, contExtra ? contSize : 0, discExtra ? discSize : 0}, contSize, discSize};
}

// Each present group lies where the documented layout packs it; absent groups and anything that
// is not a single group bit report 0.
template <typename Record, typename Offset>
void expectOffsets(const Record& r, uint32_t flags, uint32_t nEngines, uint32_t all, Offset offset) {
    std::vector<uint32_t> expected(32, 0);
    uint32_t at = 0;
    packing::forEachStored(r, flags, nEngines, [&](const packing::Field& field, std::size_t size) {
        if (field.bit != 0)
            expected[static_cast<std::size_t>(std::countr_zero(field.bit))] = at;
        at += static_cast<uint32_t>(size);
    });
    for (uint32_t i = 0; i < 32; ++i)
        EXPECT_EQ(expected[i], offset(1u << i)) << "bit " << i;
    EXPECT_EQ(0u, offset(0));
    EXPECT_EQ(0u, offset(all)) << "several bits";
}

TEST(DataBufferTest, SetWritesOnlyThePackedFieldsOfItsRecordWhereTheLayoutSays) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 300; ++round) {
        RandomFormat f = randomFormat(rng);
        SCOPED_TRACE("round " + std::to_string(round));
        Bytes cont(f.contStride * kRecords, kFill);
        Bytes disc(f.discStride * kRecords, kFill);
        DataBuffer buffer(cont.data(), disc.data(), f.format);
        EXPECT_EQ(f.contStride, copyOf(buffer.format().contRecordSize));
        EXPECT_EQ(f.discStride, copyOf(buffer.format().discRecordSize));
        const uint32_t n = f.format.nEngines;
        expectOffsets(ContData{}, f.format.ContFlags, n, ContGroup::All,
                      [&](uint32_t bit) { return buffer.contOffset(bit); });
        expectOffsets(DiscData{}, f.format.DiscFlags, n, DiscGroup::All,
                      [&](uint32_t bit) { return buffer.discOffset(bit); });

        const uint32_t index = next(rng) % kRecords;
        const auto c = packing::randomRecord<ContData>(rng);
        const auto d = packing::randomRecord<DiscData>(rng);
        buffer.setContData(index, c);
        buffer.setDiscData(index, d);
        Bytes expected(cont.size(), kFill);
        Bytes packed = packing::pack(c, f.format.ContFlags, n);
        std::copy(packed.begin(), packed.end(), expected.begin() + std::ptrdiff_t{index * f.contStride});
        EXPECT_EQ(expected, cont);
        expected.assign(disc.size(), kFill);
        packed = packing::pack(d, f.format.DiscFlags, n);
        std::copy(packed.begin(), packed.end(), expected.begin() + std::ptrdiff_t{index * f.discStride});
        EXPECT_EQ(expected, disc);
        EXPECT_EQ(copyOf(c.timestamp), buffer.getContTimestamp(index));
        EXPECT_EQ(copyOf(d.timestamp), buffer.getDiscTimestamp(index));
    }
}

template <typename Record>
void expectGet(const DataBuffer& buffer, const unsigned char* stored, uint32_t index, uint32_t flags, uint32_t n) {
    Record got, want;
    std::memset(&got, 0x5e, sizeof got);
    want = got;
    if constexpr (std::is_same_v<Record, ContData>)
        buffer.getContData(index, got);
    else
        buffer.getDiscData(index, got);
    packing::unpackInto(want, stored, flags, n);
    EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << (std::is_same_v<Record, ContData> ? "continuous" : "discrete");
    if constexpr (std::is_same_v<Record, ContData>) {
        // The core alone: the same fields up to the velocities, all after them as they were.
        Record core, coreWant;
        std::memset(&core, 0x5e, sizeof core);
        coreWant = core;
        std::memcpy(&coreWant, &want, offsetof(ContData, elevators));
        buffer.getContCore(index, core);
        EXPECT_EQ(0, std::memcmp(&coreWant, &core, sizeof core)) << "core";
    }
}

// What get must produce: the stored fields in their places, while the fields of absent groups and
// the engine slots beyond nEngines keep the value they had before.
TEST(DataBufferTest, GetFillsPresentFieldsAndLeavesTheRestAlone) {
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
        const DataBuffer buffer(cont.data(), disc.data(), f.format);
        const uint32_t index = next(rng) % kRecords;
        const uint32_t n = f.format.nEngines;

        expectGet<ContData>(buffer, cont.data() + index * f.contStride, index, f.format.ContFlags, n);
        expectGet<DiscData>(buffer, disc.data() + index * f.discStride, index, f.format.DiscFlags, n);
    }
}

// A missing buffer stops the operation that needs it, and only that one.
TEST(DataBufferTest, MissingBufferStopsOnlyTheOperationsThatNeedIt) {
    const struct {
        const char* function;
        bool needsCont;
        std::function<void(DataBuffer&)> call;
    } cases[] = {
        {"DataBuffer::getContData", true, [](DataBuffer& b) { ContData c{}; b.getContData(0, c); }},
        {"DataBuffer::getContCore", true, [](DataBuffer& b) { ContData c{}; b.getContCore(0, c); }},
        {"DataBuffer::setContData", true, [](DataBuffer& b) { b.setContData(0, ContData{}); }},
        {"DataBuffer::getDiscData", false, [](DataBuffer& b) { DiscData d{}; b.getDiscData(0, d); }},
        {"DataBuffer::setDiscData", false, [](DataBuffer& b) { b.setDiscData(0, DiscData{}); }},
        {"DataBuffer::getContTimestamp", true, [](DataBuffer& b) { (void)b.getContTimestamp(0); }},
        {"DataBuffer::getDiscTimestamp", false, [](DataBuffer& b) { (void)b.getDiscTimestamp(0); }},
    };
    Bytes present(256, 0);
    const DataFormat all{4, ContGroup::All, DiscGroup::All, 0, 0};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.function);
        DataBuffer missing(c.needsCont ? nullptr : present.data(), c.needsCont ? present.data() : nullptr, all);
        expectMisuse(thrown([&] { c.call(missing); }), c.function, "Buffer pointer is NULL");
        DataBuffer other(c.needsCont ? present.data() : nullptr, c.needsCont ? nullptr : present.data(), all);
        EXPECT_NO_THROW(c.call(other));
    }
}

} // namespace
