// The temporary files of a recording: their layout, the bounded ring, and the recording file
// written from them.

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <optional>
#include <random>

#include "common/ZflFile.h"
#include "recording/RecBuffer.h"
#include "recording/TempFile.h"
#include "support/Errors.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "support/TempLog.h"

namespace {

// ContFlags 0 and DiscFlags 0: only the fixed parts are stored.
constexpr uint32_t kContSize = kContFixedSize;
constexpr uint32_t kDiscSize = kDiscFixedSize;
constexpr uint32_t kBlockHeader = 12;
constexpr uint32_t kEntrySize = 4 + sizeof(TrackInfo);

TrackInfo plainTrack(const char* title) {
    TrackInfo info;
    std::memset(&info, 0, sizeof info);
    std::snprintf(info.title, sizeof info.title, "%s", title);
    std::snprintf(info.tailNumber, sizeof info.tailNumber, "D-EZPR");
    info.staticCGtoGround = 1.25f;
    info.format = DataFormat{1, 0, 0, kContSize, kDiscSize};
    return info;
}

// Every byte after the time stamp follows from it, so a record pieced together from two blocks
// shows.
unsigned char patternByte(uint32_t timestamp, uint32_t index) {
    return static_cast<unsigned char>(timestamp * 7 + index);
}

void putRecord(unsigned char* out, uint32_t timestamp, uint32_t size) {
    std::memcpy(out, &timestamp, sizeof timestamp);
    for (uint32_t k = sizeof timestamp; k < size; ++k)
        out[k] = patternByte(timestamp, k);
}

bool isWhole(const unsigned char* stored, uint32_t size) {
    uint32_t timestamp;
    std::memcpy(&timestamp, stored, sizeof timestamp);
    for (uint32_t k = sizeof timestamp; k < size; ++k)
        if (stored[k] != patternByte(timestamp, k))
            return false;
    return true;
}

// A full record whose stored part (the fixed part, with no group present) has the pattern above.
template <typename Record> Record fullRecord(uint32_t timestamp) {
    unsigned char bytes[sizeof(Record)];
    putRecord(bytes, timestamp, sizeof bytes);
    Record full;
    std::memcpy(&full, bytes, sizeof full);
    return full;
}

std::vector<uint32_t> times(uint32_t first, uint32_t count, uint32_t step = 1) {
    std::vector<uint32_t> out;
    for (uint32_t i = 0; i < count; ++i)
        out.push_back(first + i * step);
    return out;
}

// One block as a track's buffer flushes it.
struct Block {
    uint32_t track;
    std::vector<uint32_t> cont;
    std::vector<uint32_t> disc;
};

Bytes records(const std::vector<uint32_t>& timestamps, uint32_t size) {
    Bytes bytes(timestamps.size() * size);
    for (std::size_t i = 0; i < timestamps.size(); ++i)
        putRecord(bytes.data() + i * size, timestamps[i], size);
    return bytes;
}

uint64_t blockLength(std::size_t nCont, std::size_t nDisc) {
    return kBlockHeader + nCont * kContSize + nDisc * kDiscSize;
}
uint64_t blockLength(const Block& block) {
    return blockLength(block.cont.size(), block.disc.size());
}

void write(TempFile& file, const Block& block) {
    const Bytes cont = records(block.cont, kContSize);
    const Bytes disc = records(block.disc, kDiscSize);
    file.writeData(block.track, cont.data(), static_cast<uint32_t>(cont.size()), disc.data(),
                   static_cast<uint32_t>(disc.size()));
}

struct ReadTrack {
    TrackInfo info;
    std::vector<uint32_t> cont;
    std::vector<uint32_t> disc;
};

// The time stamps of a recording's tracks; every record must be whole.
std::vector<ReadTrack> readRecording(const std::string& path) {
    ZflFile zfl;
    zfl.open(path, ZflFile::Read);
    std::vector<ReadTrack> tracks;
    for (uint32_t t = 0; t < zfl.getNTracks(); ++t) {
        ReadTrack track{zfl.getTrackInfo(t), {}, {}};
        const auto readSeries = [&](uint32_t count, uint32_t size, auto readData,
                                    std::vector<uint32_t>& out) {
            Bytes bytes(std::size_t{count} * size);
            EXPECT_EQ(count, (zfl.*readData)(t, 0, count, bytes.data()));
            for (uint32_t i = 0; i < count; ++i) {
                out.push_back(load<uint32_t>(bytes, std::size_t{i} * size));
                if (!isWhole(bytes.data() + std::size_t{i} * size, size)) {
                    ADD_FAILURE() << "record " << i << " of track " << t << " is not whole";
                    return;
                }
            }
        };
        readSeries(track.info.nCont, track.info.format.contRecordSize, &ZflFile::readContData, track.cont);
        readSeries(track.info.nDisc, track.info.format.discRecordSize, &ZflFile::readDiscData, track.disc);
        tracks.push_back(std::move(track));
    }
    return tracks;
}

class TempFilesTest : public TempLogTest {
protected:
    TempDir dir;
    std::string base = dir.file("Zephrel");
    std::string zfl = dir.file("flight.zfl");
};

// ---- layout ----

TEST_F(TempFilesTest, FilesUnderTheBaseNameHoldTheTracksAndBlocksAndGoWithTheObject) {
    const std::string tracks = base + ".tmp1", data = base + ".tmp2";
    TrackInfo airliner = plainTrack("Airliner");
    airliner.format = DataFormat{4, ContGroup::All, DiscGroup::All, 300, 40};
    airliner.originalRecording = 1;
    {
        TempFile file(base, 0);
        ASSERT_TRUE(std::filesystem::exists(tracks));
        ASSERT_TRUE(std::filesystem::exists(data));
        const TrackInfo trainer = plainTrack("Trainer");
        file.addTrack(7, trainer);
        file.addTrack(9, airliner);
        const Bytes directory = readBytes(tracks);
        ASSERT_EQ(2 * kEntrySize, directory.size());
        EXPECT_EQ(7u, load<uint32_t>(directory, 0));
        EXPECT_EQ(0, std::memcmp(directory.data() + 4, &trainer, sizeof trainer));
        EXPECT_EQ(9u, load<uint32_t>(directory, kEntrySize));
        EXPECT_EQ(0, std::memcmp(directory.data() + kEntrySize + 4, &airliner, sizeof airliner));

        const Block block{9, {100, 110}, {100}};
        write(file, block);
        write(file, {0, {120}, {120}});
        file.writeData(7, nullptr, 0, nullptr, 0);
        Bytes expected;
        for (uint32_t field : {9u, 2 * kContSize, kDiscSize})
            append(expected, field);
        for (const Bytes& part : {records(block.cont, kContSize), records(block.disc, kDiscSize)})
            expected.insert(expected.end(), part.begin(), part.end());
        EXPECT_EQ(expected, readBytes(data));
    }
    EXPECT_FALSE(std::filesystem::exists(tracks));
    EXPECT_FALSE(std::filesystem::exists(data));
}

// ---- the bounded ring ----

TEST_F(TempFilesTest, BlockLongerThanTheBoundIsLeftOutAndOverwrittenBlocksGoWhole) {
    // Blocks of four and of three records fill the bound to the byte; eight records never fit.
    TempFile file(base, static_cast<uint32_t>(blockLength(4, 1) + blockLength(3, 1)));
    file.addTrack(3, plainTrack("Glider"));
    write(file, {3, times(10, 4), {10}});
    EXPECT_NO_THROW(write(file, {3, times(20, 8), {20}}));
    write(file, {3, times(30, 3), {30}});
    EXPECT_EQ(file.maxSize(), std::filesystem::file_size(base + ".tmp2"));
    file.writeZflFile(zfl, 0, nullptr);
    auto tracks = readRecording(zfl);
    ASSERT_EQ(1u, tracks.size());
    EXPECT_EQ((std::vector<uint32_t>{10, 11, 12, 13, 30, 31, 32}), tracks[0].cont);
    EXPECT_EQ((std::vector<uint32_t>{10, 30}), tracks[0].disc);
    EXPECT_EQ(10u, file.getFirstTimestamp(3));

    // Four records from offset 0 cover the first block exactly: it alone is given up.
    write(file, {3, times(40, 4), {40}});
    file.writeZflFile(zfl, 0, nullptr);
    tracks = readRecording(zfl);
    ASSERT_EQ(1u, tracks.size());
    EXPECT_EQ((std::vector<uint32_t>{30, 31, 32, 40, 41, 42, 43}), tracks[0].cont);
    EXPECT_EQ(30u, file.getFirstTimestamp(3));
}

TEST_F(TempFilesTest, RingThatNeverHeldABlockWritesNoRecordsUntilABlockFits) {
    TempFile file(base, static_cast<uint32_t>(blockLength(2, 1)));
    file.addTrack(3, plainTrack("Glider"));
    file.addTrack(4, plainTrack("Tug"));
    write(file, {3, times(10, 3), {10}});
    write(file, {4, times(20, 3), {20}});
    EXPECT_EQ(TempFile::kNoTimestamp, file.getFirstTimestamp(3));
    file.writeZflFile(zfl, 0, nullptr);
    EXPECT_TRUE(readRecording(zfl).empty());

    write(file, {4, times(30, 2), {30}}); // as long as the bound
    file.writeZflFile(zfl, 0, nullptr);
    const std::vector<ReadTrack> tracks = readRecording(zfl);
    ASSERT_EQ(1u, tracks.size());
    EXPECT_EQ(times(30, 2), tracks[0].cont);
}

// The ring's rules alone: blocks lie back to back from offset 0, one that would pass the bound
// starts a new lap at 0, one longer than the bound is left out. Held are the current lap and the
// blocks of the lap before that it has not yet reached.
class RingModel {
public:
    explicit RingModel(uint32_t maxSize) : maxSize_(maxSize) {}

    void add(const Block& block) {
        const uint64_t length = blockLength(block);
        if (length > maxSize_)
            return;
        if (end_ + length > maxSize_) {
            end_ = 0;
            ++lap_;
            std::erase_if(placed_, [&](const Placed& p) { return p.lap + 1 < lap_; });
        }
        placed_.push_back({block, end_, lap_});
        end_ += length;
    }

    std::vector<const Block*> held() const {
        std::vector<const Block*> out;
        for (const Placed& p : placed_)
            if (p.lap == lap_ || p.offset >= end_)
                out.push_back(&p.block);
        return out;
    }

private:
    struct Placed {
        Block block;
        uint64_t offset;
        uint32_t lap;
    };
    uint64_t maxSize_;
    uint64_t end_ = 0;
    uint32_t lap_ = 0;
    std::deque<Placed> placed_;
};

struct RingCase {
    uint32_t maxSize;
    int blocks;
    int checkEvery;
};

void PrintTo(const RingCase& ring, std::ostream* out) {
    *out << "bound " << ring.maxSize;
}

class RingTest : public TempFilesTest, public ::testing::WithParamInterface<RingCase> {};

// Block sizes from a few records to the whole ring and past it, big and small mixed, so that
// laps of very different lengths follow each other and wrap at ever other places.
uint32_t randomRecordCount(std::mt19937& random, uint32_t maxSize) {
    const uint32_t fitting = static_cast<uint32_t>((maxSize - kBlockHeader - kDiscSize) / kContSize);
    const auto between = [&](uint32_t low, uint32_t high) {
        return std::uniform_int_distribution<uint32_t>(low, high)(random);
    };
    const uint32_t kind = between(0, 19);
    return kind == 0   ? between(fitting + 1, fitting + 3)
           : kind < 4  ? between(fitting / 2, fitting)
           : kind < 12 ? between(1, 3)
                       : between(1, std::max(1u, fitting / 16));
}

TEST_P(RingTest, HoldsTheNewestBlocksWholeAndInOrderWithinTheBound) {
    const RingCase ring = GetParam();
    const uint32_t trackIds[] = {5, 6};
    TempFile file(base, ring.maxSize);
    for (uint32_t id : trackIds)
        file.addTrack(id, plainTrack("Track"));
    RingModel model(ring.maxSize);
    std::mt19937 random(20240611);
    uint32_t clock = 1;
    for (int n = 1; n <= ring.blocks; ++n) {
        const uint32_t count = randomRecordCount(random, ring.maxSize);
        const Block block{trackIds[random() % 2], times(clock, count), {clock}};
        clock += count;
        write(file, block);
        model.add(block);
        ASSERT_LE(std::filesystem::file_size(base + ".tmp2"), uint64_t{ring.maxSize} + 4) << "block " << n;
        if (n % ring.checkEvery != 0 && n != ring.blocks)
            continue;
        file.writeZflFile(zfl, 0, nullptr);
        const std::vector<ReadTrack> tracks = readRecording(zfl);
        std::size_t next = 0;
        for (uint32_t id : trackIds) {
            ReadTrack expected{};
            for (const Block* held : model.held())
                if (held->track == id) {
                    expected.cont.insert(expected.cont.end(), held->cont.begin(), held->cont.end());
                    expected.disc.insert(expected.disc.end(), held->disc.begin(), held->disc.end());
                }
            EXPECT_EQ(expected.cont.empty() ? TempFile::kNoTimestamp : expected.cont.front(),
                      file.getFirstTimestamp(id))
                << "block " << n;
            if (expected.cont.empty())
                continue;
            ASSERT_LT(next, tracks.size()) << "block " << n;
            const ReadTrack& read = tracks[next++];
            ASSERT_TRUE(read.cont == expected.cont && read.disc == expected.disc)
                << "block " << n << ": track " << id << " holds " << read.cont.size() << " records from "
                << (read.cont.empty() ? 0 : read.cont.front()) << ", expected " << expected.cont.size()
                << " from " << expected.cont.front();
        }
        ASSERT_EQ(next, tracks.size()) << "block " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, RingTest,
                         ::testing::Values(RingCase{4096, 6000, 1}, RingCase{1048576, 1200, 5}),
                         [](const auto& param) { return "Bound" + std::to_string(param.param.maxSize); });

// ---- the recording file ----

// Track 1: continuous every 100 from 100 to 800 in two blocks, discrete states from 100, 250, 500
// and 700; track 2 every 100 from 200 to 2000.
void writeTwoTracks(TempFile& file) {
    file.addTrack(1, plainTrack("Trainer"));
    file.addTrack(2, plainTrack("Airliner"));
    write(file, {1, times(100, 4, 100), {100, 250}});
    write(file, {2, times(200, 9, 100), {200}});
    write(file, {1, times(500, 4, 100), {500, 700}});
    write(file, {2, times(1100, 10, 100), {1100}});
}

TEST_F(TempFilesTest, StartTimeDropsEarlierSamplesAndKeepsTheStateInForce) {
    const struct {
        uint32_t start;
        std::vector<uint32_t> cont;
        std::vector<uint32_t> disc;
    } cases[] = {
        {0, times(100, 8, 100), {100, 250, 500, 700}},
        {300, times(300, 6, 100), {250, 500, 700}},
        {450, times(500, 4, 100), {250, 500, 700}}, // the state in force comes from the block before
        {500, times(500, 4, 100), {500, 700}},
        {750, {800}, {700}},
        {801, {}, {}}, // nothing left of the track: the file drops it
    };
    TempFile file(base, 0);
    writeTwoTracks(file);
    for (const auto& c : cases) {
        SCOPED_TRACE("start " + std::to_string(c.start));
        file.writeZflFile(zfl, c.start, nullptr);
        const std::vector<ReadTrack> tracks = readRecording(zfl);
        ASSERT_EQ(c.cont.empty() ? 1u : 2u, tracks.size());
        const ReadTrack& airliner = tracks.back();
        EXPECT_STREQ("Airliner", airliner.info.title);
        EXPECT_EQ(std::max(200u, (c.start + 99) / 100 * 100), airliner.cont.front());
        EXPECT_EQ(2000u, airliner.cont.back());
        if (c.cont.empty())
            continue;
        const ReadTrack& trainer = tracks.front();
        EXPECT_STREQ("Trainer", trainer.info.title);
        EXPECT_STREQ("D-EZPR", trainer.info.tailNumber);
        EXPECT_EQ(c.cont, trainer.cont);
        EXPECT_EQ(c.disc, trainer.disc);
        EXPECT_EQ(c.cont.size(), trainer.info.nCont);
    }
}

TEST_F(TempFilesTest, IncludedMarkersFromTheStartTimeOnAreWrittenOnce) {
    TempFile file(base, 0);
    writeTwoTracks(file);
    std::vector<Marker> markers(4);
    const struct {
        uint32_t time;
        uint8_t include;
    } given[] = {{150, 1}, {600, 1}, {650, 0}, {900, 1}};
    for (std::size_t i = 0; i < markers.size(); ++i) {
        markers[i].time = given[i].time;
        markers[i].include = given[i].include;
        markers[i].text = "marker " + std::to_string(i);
    }
    const auto writtenTimes = [&](uint32_t start) {
        file.writeZflFile(zfl, start, &markers);
        ZflFile read;
        read.open(zfl, ZflFile::Read);
        std::vector<uint32_t> out;
        for (uint32_t m = 0; m < read.getNMarkers(); ++m)
            out.push_back(read.readMarker(m).time);
        return out;
    };
    EXPECT_EQ((std::vector<uint32_t>{600, 900}), writtenTimes(300));
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 0, 0}),
              (std::vector<uint8_t>{markers[0].include, markers[1].include, markers[2].include,
                                    markers[3].include}));
    EXPECT_EQ(std::vector<uint32_t>{150}, writtenTimes(0));
    EXPECT_TRUE(writtenTimes(0).empty());
}

TEST_F(TempFilesTest, FirstTimestampIsThatOfTheTracksOldestBlock) {
    TempFile file(base, 0);
    writeTwoTracks(file);
    file.addTrack(3, plainTrack("Tug"));
    EXPECT_EQ(100u, file.getFirstTimestamp(1));
    EXPECT_EQ(200u, file.getFirstTimestamp(2));
    EXPECT_EQ(TempFile::kNoTimestamp, file.getFirstTimestamp(3));
    EXPECT_EQ(TempFile::kNoTimestamp, file.getFirstTimestamp(99));
}

// ---- failures ----

TEST_F(TempFilesTest, TrackDirectoryThatCannotBeOpenedFailsBeforeTheDataFileIsMade) {
    std::filesystem::create_directory(base + ".tmp1");
    for (const std::string& name : {dir.file("missing/Zephrel"), base}) {
        SCOPED_TRACE(name);
        const auto e = thrown([&] { TempFile file(name, 0); });
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(ErrorCode::TempFileNotOpened, e->code);
        EXPECT_EQ(2u, e->severity);
        EXPECT_EQ("TempFile::TempFile", e->function);
        EXPECT_EQ("Temp file could not be opened!", e->userText);
        EXPECT_NE(std::string::npos, e->logText.find("Temp file '" + name + ".tmp1' could not be opened"));
        EXPECT_FALSE(std::filesystem::exists(name + ".tmp2"));
    }
}

TEST_F(TempFilesTest, FailedDataWriteLosesNothingTheBufferCanWriteLater) {
    constexpr uint32_t kCapacity = 64;
    const uint64_t blockBytes = blockLength(kCapacity, kCapacity);
    TempFile file(base, 0);
    RecBuffer buffer(kCapacity, kCapacity, plainTrack("Trainer"), file, 8);
    // Every sample changes the ground flag, so each one stores a discrete record too.
    const auto addSamples = [&](uint32_t first, uint32_t count) {
        for (uint32_t t : times(first, count))
            buffer.addSample(fullRecord<ContData>(t), fullRecord<DiscData>(t));
    };
    addSamples(0, kCapacity);
    std::optional<ZephrelException> filling, refused;
    {
        FileSizeLimit limit(blockBytes + blockBytes / 2);
        filling = thrown([&] { addSamples(kCapacity, kCapacity); });
        refused = thrown([&] { addSamples(2 * kCapacity, 1); });
    }
    for (const auto& e : {filling, refused}) {
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(ErrorCode::TempFileWriteFailed, e->code);
        EXPECT_EQ(2u, e->severity);
        EXPECT_EQ("TempFile::writeData", e->function);
        EXPECT_EQ("Writing to temp file failed!", e->userText);
    }
    ASSERT_NO_THROW(buffer.flush());
    EXPECT_EQ(2 * kCapacity, buffer.trackInfo().nCont);
    file.writeZflFile(zfl, 0, nullptr);
    const std::vector<ReadTrack> tracks = readRecording(zfl);
    ASSERT_EQ(1u, tracks.size());
    EXPECT_EQ(times(0, 2 * kCapacity), tracks[0].cont);
    EXPECT_EQ(times(0, 2 * kCapacity), tracks[0].disc);
}

TEST_F(TempFilesTest, RecordingFileThatFailsLeavesAnOlderFileAsItWasAndTheMarkersToTheNextTry) {
    TempFile file(base, 0);
    writeTwoTracks(file);
    const std::string withoutMarkers = dir.file("tracks.zfl");
    file.writeZflFile(withoutMarkers, 0, nullptr);
    std::filesystem::copy_file(withoutMarkers, zfl);
    const Bytes older = readBytes(zfl);
    std::vector<Marker> markers(1);
    markers[0].time = 600;
    markers[0].text = std::string(200, 'm');
    markers[0].include = 1;
    const struct {
        std::string path;
        ErrorCode code;
        rlim_t sizeLimit; // 0: none
    } cases[] = {{dir.file("missing/flight.zfl"), ErrorCode::FileNotOpened, 0},
                 {zfl, ErrorCode::FileWriteFailed, 1000}, // in the tracks
                 {zfl, ErrorCode::FileWriteFailed, std::filesystem::file_size(withoutMarkers)}}; // in the markers
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sizeLimit);
        std::optional<ZephrelException> e;
        {
            std::optional<FileSizeLimit> limit;
            if (c.sizeLimit != 0)
                limit.emplace(c.sizeLimit);
            e = thrown([&] { file.writeZflFile(c.path, 0, &markers); });
        }
        expectFileError(e, c.code, c.path);
        EXPECT_EQ(c.path == zfl ? older : Bytes{}, readBytes(c.path));
        EXPECT_FALSE(std::filesystem::exists(c.path + ".part"));
        EXPECT_EQ(1u, markers[0].include);
    }
    file.writeZflFile(zfl, 0, &markers);
    EXPECT_EQ(0u, markers[0].include);
    EXPECT_EQ(2u, readRecording(zfl).size());
}

// ---- spread writes ----

struct SpreadCase {
    const char* name;
    uint32_t maxSize;
    uint32_t ticksPerFrame;
};

class SpreadWritesTest : public TempFilesTest, public ::testing::WithParamInterface<SpreadCase> {};

// Bursts of blocks of five tracks, as buffers filled together flush them, go to a file written at
// once and to one that spreads its writes: the spread one writes a share of each burst per frame,
// has every block on the disk within its bound, and ends with the same bytes.
TEST_P(SpreadWritesTest, BurstsReachTheDiskWithinTheBoundAndLeaveTheSameFiles) {
    const SpreadCase& c = GetParam();
    const std::string spreadBase = dir.file("Spread");
    TempFile atOnce(base, c.maxSize), spread(spreadBase, c.maxSize);
    spread.spreadWrites();
    for (uint32_t track = 1; track <= 5; ++track)
        for (TempFile* file : {&atOnce, &spread})
            file->addTrack(track, plainTrack("Trainer"));
    struct Written {
        uint32_t end; // in the data file
        uint32_t frame;
        uint32_t time;
    };
    std::deque<Written> pending;
    std::mt19937 engine(3);
    uint32_t clock = 0, timestamp = 0;
    for (uint32_t frame = 0; frame < 300; ++frame, clock += c.ticksPerFrame) {
        const uint64_t onDisk = std::filesystem::file_size(spreadBase + ".tmp2");
        spread.writeWaiting(clock);
        const uint64_t written = std::filesystem::file_size(spreadBase + ".tmp2") - onDisk;
        if (c.maxSize == 0) {
            // A share of the largest burst, of those spread over the frames its bound leaves.
            const uint64_t burst = 20 * blockLength(60, 10);
            const uint64_t frames = std::min(BlockQueue::kSpreadFrames, BlockQueue::kLongestWait / c.ticksPerFrame);
            EXPECT_LE(written, 2 * burst / frames) << "frame " << frame << " writes a share of the burst";
            while (!pending.empty() && pending.front().end <= onDisk + written)
                pending.pop_front();
            ASSERT_TRUE(pending.empty() || (frame - pending.front().frame < BlockQueue::kSpreadFrames &&
                                            clock - pending.front().time < BlockQueue::kLongestWait))
                << "frame " << frame << ": a block waits beyond its bound";
        }
        if (frame % 25 != 0)
            continue;
        for (int i = 0; i < 20; ++i) {
            const Block block{static_cast<uint32_t>(1 + i % 5), times(timestamp, static_cast<uint32_t>(10 + engine() % 50)),
                              times(timestamp, static_cast<uint32_t>(1 + engine() % 10))};
            timestamp += 100;
            write(atOnce, block);
            write(spread, block);
            pending.push_back({spread.writePos(), frame, clock});
        }
    }
    EXPECT_EQ(atOnce.writePos(), spread.writePos());
    EXPECT_EQ(atOnce.readStart(), spread.readStart());
    const std::string spreadZfl = dir.file("spread.zfl");
    atOnce.writeZflFile(zfl, 0, nullptr);
    spread.writeZflFile(spreadZfl, 0, nullptr);
    EXPECT_EQ(readBytes(base + ".tmp2"), readBytes(spreadBase + ".tmp2"));
    EXPECT_EQ(readBytes(zfl), readBytes(spreadZfl));
    EXPECT_EQ(5u, readRecording(spreadZfl).size());
}

INSTANTIATE_TEST_SUITE_P(Files, SpreadWritesTest,
                         ::testing::Values(SpreadCase{"Unbounded", 0, 167}, SpreadCase{"SlowFrames", 0, 5000},
                                           SpreadCase{"Ring", 60000, 167}),
                         caseName<SpreadCase>);

TEST_F(TempFilesTest, SpreadBlocksTheDiskRefusesWaitAndGoOnceItTakesThem) {
    TempFile file(base, 0);
    file.spreadWrites();
    file.addTrack(4, plainTrack("Trainer"));
    write(file, {4, times(0, 50), {0}});
    file.writeWaiting(0);
    const uint64_t onDisk = std::filesystem::file_size(base + ".tmp2");
    ASSERT_EQ(blockLength(50, 1), onDisk);
    for (uint32_t first = 50; first < 250; first += 50)
        write(file, {4, times(first, 50), {first}});
    std::optional<ZephrelException> refused, kept;
    {
        const FileSizeLimit full(onDisk + 10);
        refused = thrown([&] {
            for (uint32_t frame = 1; frame <= BlockQueue::kSpreadFrames; ++frame)
                file.writeWaiting(frame);
        });
        kept = thrown([&] { file.writeZflFile(zfl, 0, nullptr); });
    }
    for (const auto& e : {refused, kept}) {
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(ErrorCode::TempFileWriteFailed, e->code);
        EXPECT_EQ("TempFile::writeData", e->function);
    }
    file.writeZflFile(zfl, 0, nullptr);
    const std::vector<ReadTrack> tracks = readRecording(zfl);
    ASSERT_EQ(1u, tracks.size());
    EXPECT_EQ(times(0, 250), tracks[0].cont);
}

} // namespace
