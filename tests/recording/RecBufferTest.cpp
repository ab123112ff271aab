// A track's buffer while it is recorded: the header it registers, which discrete records it keeps
// and when it hands a block to the temporary files.

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <random>

#include "recording/RecBuffer.h"
#include "recording/TempFile.h"
#include "support/Errors.h"
#include "support/Packed.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"
#include "support/TempLog.h"

namespace {

constexpr std::size_t kEntrySize = 4 + sizeof(TrackInfo);
constexpr std::size_t kBlockHeader = 12;

TrackInfo track(uint32_t contFlags, uint32_t discFlags, uint8_t nEngines) {
    TrackInfo info{};
    info.format = DataFormat{nEngines, contFlags, discFlags, 0, 0};
    return info;
}

// One block of the data file as stored.
struct StoredBlock {
    uint32_t track;
    Bytes cont;
    Bytes disc;
};

// An unbounded data file is its blocks back to back.
std::vector<StoredBlock> storedBlocks(const std::string& path) {
    const Bytes bytes = readBytes(path);
    std::vector<StoredBlock> blocks;
    for (std::size_t at = 0; at + kBlockHeader <= bytes.size();) {
        const uint32_t contBytes = load<uint32_t>(bytes, at + 4), discBytes = load<uint32_t>(bytes, at + 8);
        const auto cont = bytes.begin() + static_cast<std::ptrdiff_t>(at + kBlockHeader);
        const auto disc = cont + contBytes;
        blocks.push_back({load<uint32_t>(bytes, at), Bytes(cont, disc), Bytes(disc, disc + discBytes)});
        at += kBlockHeader + contBytes + discBytes;
    }
    return blocks;
}

// The time stamps of a block's stored records.
std::vector<uint32_t> timestamps(const Bytes& records, uint32_t recordSize) {
    std::vector<uint32_t> out;
    for (std::size_t at = 0; at < records.size(); at += recordSize)
        out.push_back(load<uint32_t>(records, at));
    return out;
}

ContData contAt(uint32_t time) {
    ContData cont{};
    cont.timestamp = time;
    return cont;
}

class RecBufferTest : public TempLogTest {
protected:
    TempDir dir;
    TempFile file{dir.file("Zephrel"), 0};
    std::string dataFile = dir.file("Zephrel.tmp2");
};

TEST_F(RecBufferTest, RegistersTheTrackWithItsRecordSizesAndStoresRecordsPacked) {
    const uint32_t contFlags = ContGroup::FlightControls | ContGroup::Throttles, discFlags = DiscGroup::Gear;
    std::mt19937 random(7);
    const auto cont = packing::randomRecord<ContData>(random);
    const auto disc = packing::randomRecord<DiscData>(random);
    const Bytes packedCont = packing::pack(cont, contFlags, 2),
                packedDisc = packing::pack(disc, discFlags, 2);
    const struct {
        uint32_t givenCont, givenDisc, cont, disc;
    } cases[] = {{0, 0, static_cast<uint32_t>(packedCont.size()), static_cast<uint32_t>(packedDisc.size())},
                 {120, 20, 120, 20}};
    for (uint32_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        TrackInfo given = track(contFlags, discFlags, 2);
        given.format.contRecordSize = cases[i].givenCont;
        given.format.discRecordSize = cases[i].givenDisc;
        RecBuffer buffer(5, 5, given, file, 40 + i);
        const Bytes directory = readBytes(dir.file("Zephrel.tmp1"));
        ASSERT_EQ((i + 1) * kEntrySize, directory.size());
        EXPECT_EQ(40 + i, load<uint32_t>(directory, i * kEntrySize));
        const auto entry = load<TrackInfo>(directory, i * kEntrySize + 4);
        EXPECT_EQ(cases[i].cont, copyOf(entry.format.contRecordSize));
        EXPECT_EQ(cases[i].disc, copyOf(entry.format.discRecordSize));
        EXPECT_EQ(cases[i].cont, copyOf(buffer.trackInfo().format.contRecordSize));

        buffer.addSample(cont, disc);
        buffer.flush();
        const StoredBlock block = storedBlocks(dataFile).back();
        EXPECT_EQ(40 + i, block.track);
        ASSERT_EQ(cases[i].cont, block.cont.size());
        ASSERT_EQ(cases[i].disc, block.disc.size());
        EXPECT_TRUE(std::equal(packedCont.begin(), packedCont.end(), block.cont.begin()));
        EXPECT_TRUE(std::equal(packedDisc.begin(), packedDisc.end(), block.disc.begin()));
    }
}

TEST_F(RecBufferTest, CapacityOfZeroIsRefused) {
    for (const auto& [contCapacity, discCapacity] : {std::pair{0u, 5u}, std::pair{5u, 0u}}) {
        expectMisuse(thrown([&] { RecBuffer buffer(contCapacity, discCapacity, track(0, 0, 0), file, 1); }),
                     "RecBuffer::RecBuffer", "Buffer size is 0");
    }
    EXPECT_EQ(0u, file.trackCount());
}

// Only the gear is recorded: the lights may change as they like.
TEST_F(RecBufferTest, DiscreteRecordIsKeptWhenARecordedFieldChangesAndAtEveryBlockStart) {
    RecBuffer buffer(4, 100, track(0, DiscGroup::Gear, 0), file, 3);
    const struct {
        uint32_t time;
        uint8_t onground;
        int16_t gear;
        uint16_t lights;
    } states[] = {
        {0, 0, 0, 0},                 // the first block opens with it
        {10, 0, 0, 5},                // the lights are not recorded
        {20, 0, 1, 5},                // changed
        {30, 0, 1, 5}, {40, 0, 1, 5}, // the second block opens with it
        {50, 1, 1, 5},                // changed
        {60, 1, 1, 0},                // the lights again
        {70, 1, 0, 0},                // changed
    };
    for (const auto& state : states) {
        DiscData disc{};
        disc.timestamp = state.time;
        disc.onground = state.onground;
        disc.gear = state.gear;
        disc.lights = state.lights;
        buffer.addSample(contAt(state.time), disc);
    }
    const std::vector<StoredBlock> blocks = storedBlocks(dataFile);
    ASSERT_EQ(2u, blocks.size());
    const uint32_t discSize = buffer.trackInfo().format.discRecordSize;
    EXPECT_EQ((std::vector<uint32_t>{0, 20}), timestamps(blocks[0].disc, discSize));
    EXPECT_EQ((std::vector<uint32_t>{40, 50, 70}), timestamps(blocks[1].disc, discSize));
    EXPECT_EQ(5u, buffer.trackInfo().nDisc);
}

TEST_F(RecBufferTest, FlushesWhenEitherPartIsFullAndNotWhenEmpty) {
    const struct {
        const char* name;
        uint32_t contCapacity, discCapacity, samples;
        bool everySampleChanges;
        std::vector<uint32_t> contPerBlock, discPerBlock;
        std::size_t fullBlocks; // written before the last flush
    } cases[] = {
        {"continuous full", 3, 10, 7, false, {3, 3, 1}, {1, 1, 1}, 2},
        {"discrete full", 10, 2, 4, true, {2, 2}, {2, 2}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile own(dir.file(c.name), 0);
        const std::string data = dir.file(std::string(c.name) + ".tmp2");
        RecBuffer buffer(c.contCapacity, c.discCapacity, track(0, 0, 0), own, 6);
        buffer.flush();
        for (uint32_t i = 0; i < c.samples; ++i) {
            DiscData disc{};
            disc.timestamp = i;
            disc.onground = static_cast<uint8_t>(c.everySampleChanges ? i % 2 : 0);
            buffer.addSample(contAt(i), disc);
        }
        EXPECT_EQ(c.fullBlocks, storedBlocks(data).size());
        buffer.flush();
        buffer.flush();
        std::vector<uint32_t> contPerBlock, discPerBlock;
        for (const StoredBlock& block : storedBlocks(data)) {
            EXPECT_EQ(6u, block.track);
            contPerBlock.push_back(static_cast<uint32_t>(block.cont.size() / kContFixedSize));
            discPerBlock.push_back(static_cast<uint32_t>(block.disc.size() / kDiscFixedSize));
        }
        EXPECT_EQ(c.contPerBlock, contPerBlock);
        EXPECT_EQ(c.discPerBlock, discPerBlock);
        EXPECT_EQ(c.samples, buffer.trackInfo().nCont);
        EXPECT_EQ(std::accumulate(c.discPerBlock.begin(), c.discPerBlock.end(), 0u),
                  buffer.trackInfo().nDisc);
    }
}

} // namespace
