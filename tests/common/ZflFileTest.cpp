#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/TrackDigest.h"
#include "support/FileSizeLimit.h"
#include "support/TempLog.h"
#include "support/ZflTestFiles.h"

using namespace zfltest;

namespace {

// Two aircraft with different groups: a single-engine one with a digest, and a twin carrying
// every group and record sizes larger than its groups need (as a later version would write), the
// longest title and a tail number longer than the 10 characters stored.
std::vector<TrackData> sampleTracks() {
    const uint32_t cessnaCont = ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Airspeeds | ContGroup::Mach;
    const uint32_t cessnaDisc = DiscGroup::Flaps | DiscGroup::Gear | DiscGroup::ParkingBrake;
    TrackInfo cessna = trackInfo("Cessna Skyhawk 172SP", 1, cessnaCont, cessnaDisc, 0, 0, 1, "N172SP", 1.25f);
    TrackInfo twin = trackInfo("Beechcraft Baron 58 " + std::string(235, '-'), 2, ContGroup::All, DiscGroup::All,
                               contRecordSize(ContGroup::All, 2) + 7, discRecordSize(DiscGroup::All) + 3, 0,
                               "D-IBAR-5800", 2.5f);
    return {makeTrack(cessna, 12, 3, 100), makeTrack(twin, 5, 2, 200)};
}

std::vector<Marker> sampleMarkers() {
    return {marker(10000, Marker::DisplayText, Marker::kChapter, "Take-off"),
            marker(20000, Marker::SwitchCamera, 0, "Tower"), marker(30000, Marker::PlaySound, 5, "atc.wav")};
}

void insertFill(Bytes& bytes, std::size_t offset, std::size_t count, unsigned char fill) {
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, fill);
}

using ZflFileTest = TempFileTest;

// ---- round trip and on-disk layout ----

TEST_F(ZflFileTest, WrittenRecordingLiesOnDiskAsDocumentedAndReadsBack) {
    writeRecording(path, sampleTracks(), sampleMarkers());
    expectFileBytes(path, sampleTracks(), sampleMarkers());
    expectRecording(path, sampleTracks(), sampleMarkers());
}

TEST_F(ZflFileTest, OpeningAgainFinishesTheFileStillBeingWrittenAndClosingTwiceIsHarmless) {
    ZflFile file;
    EXPECT_NO_THROW(file.close());
    file.open(path, ZflFile::Write);
    writeTracks(file, {sampleTracks()[0]}, {});
    file.open(path, ZflFile::Read);
    ASSERT_EQ(1u, file.getNTracks());
    expectTrack(file, 0, sampleTracks()[0]);
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_NO_THROW(file.close());
    expectMisuse(thrown([&] { file.getNTracks(); }), "ZflFile::getNTracks", "File not opened");
}

// A copy tool hands over the track headers it read, counts and all; the writer counts for itself.
TEST_F(ZflFileTest, AddTrackIgnoresTheRecordCountsItIsGiven) {
    writeRecording(path, sampleTracks(), sampleMarkers());
    const std::string copy = dir.file("copy.zfl");
    Opened in(path);
    ZflFile out;
    out.open(copy, ZflFile::Write);
    for (uint32_t t = 0; t < in.getNTracks(); ++t) {
        TrackInfo info = in.getTrackInfo(t);
        out.addTrack(info);
        const Bytes cont = readCont(in, t);
        out.writeContData(info.nCont - 1, cont.data());
        out.writeContData(1, cont.data() + std::size_t{info.nCont - 1} * info.format.contRecordSize);
        out.writeDiscData(info.nDisc, readDisc(in, t).data());
    }
    for (uint32_t m = 0; m < in.getNMarkers(); ++m)
        out.addMarker(in.readMarker(m));
    out.close();
    EXPECT_EQ(readBytes(path), readBytes(copy));
}

// ---- empty tracks ----

// The converter hands its records over one at a time.
TEST_F(ZflFileTest, OneRecordAtATimeWritesTheSameFileAsAllAtOnce) {
    const auto tracks = sampleTracks();
    writeRecording(path, tracks);
    const std::string single = dir.file("single.zfl");
    ZflFile file;
    file.open(single, ZflFile::Write);
    for (const TrackData& t : tracks) {
        file.addTrack(t.info);
        for (uint32_t i = 0; i < t.nCont(); ++i)
            file.writeContData(t.cont.data() + std::size_t{i} * t.contSize());
        for (uint32_t i = 0; i < t.nDisc(); ++i)
            file.writeDiscData(t.disc.data() + std::size_t{i} * t.discSize());
    }
    file.close();
    EXPECT_EQ(readBytes(path), readBytes(single));
}

TEST_F(ZflFileTest, TracksWithoutRecordsLeaveNoTraceInTheFile) {
    const struct {
        const char* what;
        std::vector<std::pair<uint32_t, uint32_t>> records; // nCont, nDisc of each added track
        uint32_t nMarkers;
    } cases[] = {{"no tracks at all", {}, 0},
                 {"only an empty track", {{0, 0}}, 0},
                 {"empty tracks before and after one with data", {{0, 0}, {4, 2}, {0, 0}}, 0},
                 {"empty last track followed by markers", {{3, 1}, {0, 0}}, 2},
                 {"only an empty track, followed by one short marker", {{0, 0}}, 1},
                 {"several empty tracks between tracks with data", {{2, 0}, {0, 0}, {0, 0}, {1, 1}, {0, 0}}, 3},
                 {"a track with only discrete records is kept", {{0, 2}, {0, 0}}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<TrackData> tracks;
        for (uint32_t i = 0; i < c.records.size(); ++i)
            tracks.push_back(makeTrack(trackInfo("Track", 1, ContGroup::Throttles, DiscGroup::Gear),
                                       c.records[i].first, c.records[i].second, 10 * i));
        std::vector<Marker> markers;
        for (uint32_t m = 0; m < c.nMarkers; ++m)
            markers.push_back(marker(1000 * m, Marker::DisplayText, 0, "m" + std::to_string(m)));
        writeRecording(path, tracks, markers);
        expectFileBytes(path, tracks, markers);
        expectRecording(path, tracks, markers);
    }
}

// ---- call-order rules ----

// Closed; open for reading a file of one track (2 continuous, 1 discrete record) and 1 marker;
// open for writing with no track yet, or with one track of 2 continuous records and, by state,
// 1 discrete record and 1 marker.
enum class State { Closed, Reading, NoTrack, Continuous, Discrete, Markers, DiscreteThenMarkers };

bool hasDisc(State s) { return s == State::Discrete || s == State::DiscreteThenMarkers; }
bool hasMarkers(State s) { return s == State::Markers || s == State::DiscreteThenMarkers; }

std::array<unsigned char, 4096> scratch{};
uint32_t u0, u1, u2, u3;

const TrackInfo kRuleTrack = trackInfo("Rules", 1, ContGroup::Throttles, DiscGroup::Flaps);

struct MisuseCase {
    std::string name;
    State state;
    std::function<void(ZflFile&)> call;
    std::string function;
    std::string detail;
};

struct Call {
    std::string name;
    std::function<void(ZflFile&, uint32_t index)> call;
    const char* rangeDetail = nullptr; // for readers: what an index past the last one is told
};

std::vector<MisuseCase> misuseCases() {
    const Call readers[] = {
        {"getTrackInfo", [](ZflFile& f, uint32_t i) { f.getTrackInfo(i); }, "Track index out of range"},
        {"readContData", [](ZflFile& f, uint32_t i) { f.readContData(i, 0, 1, scratch.data()); }, "Track index out of range"},
        {"readDiscData", [](ZflFile& f, uint32_t i) { f.readDiscData(i, 0, 1, scratch.data()); }, "Track index out of range"},
        {"viewContData", [](ZflFile& f, uint32_t i) { MappedRange view; uint32_t n = 1; f.viewContData(i, 0, n, view); },
         "Track index out of range"},
        {"getStartTime", [](ZflFile& f, uint32_t i) { f.getStartTime(i); }, "Track index out of range"},
        {"getEndTime", [](ZflFile& f, uint32_t i) { f.getEndTime(i); }, "Track index out of range"},
        {"getTimeRanges", [](ZflFile& f, uint32_t i) { f.getTimeRanges(i, u0, u1, u2, u3); }, "Track index out of range"},
        {"readMarker", [](ZflFile& f, uint32_t i) { f.readMarker(i); }, "Marker index out of range"},
        {"getNTracks", [](ZflFile& f, uint32_t) { f.getNTracks(); }},
        {"getNMarkers", [](ZflFile& f, uint32_t) { f.getNMarkers(); }},
    };
    const Call writers[] = {
        {"addTrack", [](ZflFile& f, uint32_t) { f.addTrack(kRuleTrack); }},
        {"writeContData", [](ZflFile& f, uint32_t) { f.writeContData(1, scratch.data()); }},
        {"writeDiscData", [](ZflFile& f, uint32_t) { f.writeDiscData(1, scratch.data()); }},
        {"addMarker", [](ZflFile& f, uint32_t) { f.addMarker(Marker{}); }},
    };
    std::vector<MisuseCase> cases;
    auto add = [&cases](const Call& c, const std::string& when, State state, uint32_t index, const char* detail) {
        std::string name = c.name + when;
        name[0] = static_cast<char>(std::toupper(name[0]));
        cases.push_back({name, state, [c, index](ZflFile& f) { c.call(f, index); }, "ZflFile::" + c.name, detail});
    };
    // Indices out of range where the file is closed or being written show which check comes first.
    for (const Call& c : readers) {
        add(c, "Closed", State::Closed, 9, "File not opened");
        if (c.rangeDetail) {
            add(c, "Writing", State::Continuous, 9, "Call in write mode");
            add(c, "PastTheLastOne", State::Reading, 1, c.rangeDetail);
        }
    }
    add(readers[2], "FarPastTheLastOne", State::Reading, 0xffffffffu, readers[2].rangeDetail);
    for (const Call& c : writers) {
        add(c, "Closed", State::Closed, 0, "File not opened");
        add(c, "Reading", State::Reading, 0, "Call in read mode");
    }
    const Call& addTrack = writers[0];
    const Call& cont = writers[1];
    const Call& disc = writers[2];
    add(cont, "AfterDiscreteData", State::Discrete, 0, "Call after discrete data was written");
    add(cont, "AfterDiscreteDataAndMarkers", State::DiscreteThenMarkers, 0, "Call after discrete data was written");
    add(addTrack, "AfterMarkers", State::Markers, 0, "Call after markers were written");
    add(cont, "AfterMarkers", State::Markers, 0, "Call after markers were written");
    add(disc, "AfterMarkers", State::Markers, 0, "Call after markers were written");
    add(cont, "BeforeAnyTrack", State::NoTrack, 0, "No track added");
    add(disc, "BeforeAnyTrack", State::NoTrack, 0, "No track added");
    for (bool contTooSmall : {true, false}) {
        const uint32_t contSize = contRecordSize(ContGroup::Throttles, 2), discSize = discRecordSize(DiscGroup::Gear);
        const TrackInfo small = trackInfo("Small", 2, ContGroup::Throttles, DiscGroup::Gear,
                                          contTooSmall ? contSize - 1 : contSize, contTooSmall ? discSize : discSize - 1);
        add({"addTrack", [small](ZflFile& f, uint32_t) { f.addTrack(small); }},
            contTooSmall ? "WithContinuousRecordsTooSmall" : "WithDiscreteRecordsTooSmall", State::Continuous, 0,
            "Record size too small for the data groups");
    }
    return cases;
}

void PrintTo(const MisuseCase& c, std::ostream* os) { *os << c.name; }

class ZflFileCallOrderTest : public ZflFileTest, public ::testing::WithParamInterface<MisuseCase> {
protected:
    void enter(ZflFile& file, State state) {
        if (state == State::Closed)
            return;
        if (state == State::Reading) {
            writeRecording(path, {makeTrack(kRuleTrack, 2, 1, 3)}, {marker(5, Marker::Pause, 0, "")});
            file.open(path, ZflFile::Read);
            return;
        }
        file.open(path, ZflFile::Write);
        if (state == State::NoTrack)
            return;
        file.addTrack(kRuleTrack);
        file.writeContData(2, scratch.data());
        if (hasDisc(state))
            file.writeDiscData(1, scratch.data());
        if (hasMarkers(state))
            file.addMarker(marker(5, Marker::Pause, 0, ""));
    }
};

TEST_P(ZflFileCallOrderTest, MisuseIsRefusedWithItsDetailAndLeavesTheFileIntact) {
    const MisuseCase& c = GetParam();
    ZflFile file;
    enter(file, c.state);
    expectMisuse(thrown([&] { c.call(file); }), c.function, c.detail);
    if (c.state == State::Closed || c.state == State::Reading)
        return;
    // The refused call changed nothing: the file is finished as it stood.
    file.close();
    Opened in(path);
    EXPECT_EQ(hasMarkers(c.state) ? 1u : 0u, in.getNMarkers());
    ASSERT_EQ(c.state == State::NoTrack ? 0u : 1u, in.getNTracks());
    if (c.state != State::NoTrack) {
        EXPECT_EQ(2u, copyOf(in.getTrackInfo(0).nCont));
        EXPECT_EQ(hasDisc(c.state) ? 1u : 0u, copyOf(in.getTrackInfo(0).nDisc));
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, ZflFileCallOrderTest, ::testing::ValuesIn(misuseCases()), caseName<MisuseCase>);

// ---- failures of the file itself ----

TEST_F(ZflFileTest, FileThatCannotBeOpenedOrGetItsHeaderFailsTheOpenAndLeavesAnOlderFileAsItWas) {
    writeRecording(path, sampleTracks(), sampleMarkers());
    const Bytes older = readBytes(path);
    const struct {
        std::string path;
        ZflFile::Mode mode;
        ErrorCode code;
        rlim_t sizeLimit; // 0: none
    } cases[] = {{dir.file("missing.zfl"), ZflFile::Read, ErrorCode::FileNotOpened, 0},
                 {dir.file("no/such/folder.zfl"), ZflFile::Write, ErrorCode::FileNotOpened, 0},
                 {path, ZflFile::Write, ErrorCode::FileWriteFailed, 10}}; // a full disk under the header
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ZflFile file;
        std::optional<ZephrelException> e;
        {
            std::optional<FileSizeLimit> limit;
            if (c.sizeLimit != 0)
                limit.emplace(c.sizeLimit);
            e = thrown([&] { file.open(c.path, c.mode); });
        }
        expectFileError(e, c.code, c.path, "ZflFile::open");
        EXPECT_FALSE(file.isOpen());
        EXPECT_FALSE(std::filesystem::exists(c.path + ".part"));
    }
    EXPECT_EQ(older, readBytes(path));
}

// The sample recording with a first track of 3 MB, past the buffer of a file written past the
// system's cache, and an empty track after the last, which the writer takes back at the end.
std::vector<TrackData> tracksPastTheBuffer() {
    std::vector<TrackData> tracks = sampleTracks();
    const TrackInfo& first = tracks[0].info;
    tracks[0] = makeTrack(first, (3u << 20) / makeTrack(first, 1, 0, 0).contSize(), 3, 100);
    tracks.push_back(makeTrack(first, 0, 0, 0));
    return tracks;
}

// Headers finished last land on blocks already out, and the empty track is taken back over them.
TEST_F(ZflFileTest, WrittenPastTheCacheTheRecordingIsTheSameToTheByte) {
    const std::vector<TrackData> tracks = tracksPastTheBuffer();
    writeRecording(path, tracks, sampleMarkers());
    const std::string direct = dir.file("direct.zfl");
    writeRecording(direct, tracks, sampleMarkers(), ZflFile::WriteDirect);
    EXPECT_EQ(readBytes(path), readBytes(direct));
    expectRecording(direct, tracks, sampleMarkers());
}

// Past the cache, a full disk shows when the buffer goes out: within the records of a long track,
// or at the end for a short recording.
TEST_F(ZflFileTest, AFullDiskUnderAFileWrittenPastTheCacheFailsItAndLeavesAnOlderFileAsItWas) {
    writeRecording(path, sampleTracks(), sampleMarkers());
    const Bytes older = readBytes(path);
    const struct {
        std::vector<TrackData> tracks;
        rlim_t sizeLimit;
        const char* failing;
    } cases[] = {{sampleTracks(), 10, "ZflFile::close"}, {tracksPastTheBuffer(), 3u << 19, "ZflFile::writeContData"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        ZflFile file;
        std::optional<ZephrelException> e;
        {
            const FileSizeLimit full(c.sizeLimit);
            e = thrown([&] {
                file.open(path, ZflFile::WriteDirect);
                writeTracks(file, c.tracks, sampleMarkers());
                file.close();
            });
            file.discard();
        }
        expectFileError(e, ErrorCode::FileWriteFailed, path, c.failing);
        EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    }
    EXPECT_EQ(older, readBytes(path));
}

TEST_F(ZflFileTest, TrackLargerThanItsSizeFieldIsRefusedBeforeAnythingIsWritten) {
    ZflFile file;
    file.open(path, ZflFile::Write);
    file.addTrack(trackInfo("Huge", 0, 0, 0));
    file.writeContData(3, scratch.data());
    // 2^26 records of 64 bytes are 4 GiB, one byte more than a 32-bit size can say.
    expectFileError(thrown([&] { file.writeContData(1u << 26, scratch.data()); }), ErrorCode::FileWriteFailed, path,
                    "ZflFile::writeContData");
    file.close();
    Opened in(path);
    ASSERT_EQ(1u, in.getNTracks());
    EXPECT_EQ(3u, copyOf(in.getTrackInfo(0).nCont));
    EXPECT_EQ(26u + 309u + 3u * 64u, std::filesystem::file_size(path));
}

// ---- reading ranges of records ----

// The second of two tracks, so that the range is found from the track's own data offset; the
// continuous records copied and seen in place alike, while a view of the first track is open too.
TEST_F(ZflFileTest, ReadsOnlyTheRecordsOfARangeThatExist) {
    const TrackData first = makeTrack(trackInfo("First", 1, ContGroup::Throttles, DiscGroup::Gear), 4, 2, 1);
    const TrackData second = makeTrack(trackInfo("Second", 2, ContGroup::Airspeeds, DiscGroup::Lights, 90, 11), 6, 4, 2);
    writeRecording(path, {first, second});
    Opened file(path);
    MappedRange firstView;
    uint32_t firstCount = 10;
    const unsigned char* firstRecords = file.viewContData(0, 1, firstCount, firstView);
    ASSERT_EQ(3u, firstCount);
    const struct {
        bool cont;
        uint32_t first, count, expected;
    } cases[] = {{true, 0, 6, 6},  {true, 4, 10, 2},          {true, 5, 1, 1},  {true, 2, 3, 3},
                 {true, 6, 1, 0},  {true, 0xffffffffu, 5, 0}, {true, 2, 0, 0},  {true, 3, 0xffffffffu, 3},
                 {false, 0, 4, 4}, {false, 2, 10, 2},         {false, 1, 1, 1}, {false, 4, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE((c.cont ? "continuous " : "discrete ") + std::to_string(c.first) + "+" + std::to_string(c.count));
        const uint32_t size = c.cont ? 90 : 11;
        Bytes buffer(12 * size, 0xee);
        const uint32_t got = c.cont ? file.readContData(1, c.first, c.count, buffer.data())
                                    : file.readDiscData(1, c.first, c.count, buffer.data());
        ASSERT_EQ(c.expected, got);
        Bytes expected(buffer.size(), 0xee);
        if (got > 0)
            std::copy_n((c.cont ? second.cont : second.disc).begin() + static_cast<std::ptrdiff_t>(c.first * size),
                        got * size, expected.begin());
        EXPECT_EQ(expected, buffer);
        if (c.cont) {
            MappedRange view;
            uint32_t count = c.count;
            const unsigned char* records = file.viewContData(1, c.first, count, view);
            ASSERT_EQ(c.expected, count);
            EXPECT_EQ(Bytes(expected.begin(), expected.begin() + count * size),
                      count == 0 ? Bytes() : Bytes(records, records + count * size));
        }
    }
    const std::size_t firstSize = contRecordSize(ContGroup::Throttles, 1);
    EXPECT_EQ(Bytes(first.cont.begin() + static_cast<std::ptrdiff_t>(firstSize), first.cont.end()),
              Bytes(firstRecords, firstRecords + 3 * firstSize));
}

// ---- markers ----

TEST_F(ZflFileTest, MarkersOnDiskHoldExactlyTheirFieldsAndReadBack) {
    std::string longText;
    for (int i = 0; i < 300; ++i)
        longText += static_cast<char>('a' + i % 26);
    std::vector<Marker> markers = {marker(1, Marker::None, 0, ""), marker(2, Marker::DisplayText, 0, "abc"),
                                   marker(3, Marker::SwitchCamera, 0, ""),
                                   marker(4, Marker::SwitchCamera, Marker::kChapter, "Cockpit"),
                                   marker(5, Marker::DisplayText, 7, longText)};
    // Neither a camera id of another type nor the include flag is stored.
    markers[1].cameraId.fill(0x77);
    markers[1].include = markers[3].include = 1;
    const uint16_t lengths[] = {13, 16, 29, 36, 13 + 255};
    // Length, time, type, flags, text length, at most 255 text bytes, a camera switch's camera id.
    Bytes expected;
    for (std::size_t m = 0; m < markers.size(); ++m) {
        const std::string text = markers[m].text.substr(0, 255);
        append(expected, lengths[m]);
        append(expected, markers[m].time);
        append(expected, markers[m].type);
        append(expected, markers[m].flags);
        append(expected, static_cast<uint8_t>(text.size()));
        expected.insert(expected.end(), text.begin(), text.end());
        if (markers[m].type == Marker::SwitchCamera)
            expected.insert(expected.end(), markers[m].cameraId.begin(), markers[m].cameraId.end());
    }
    writeRecording(path, {}, markers);
    const Bytes bytes = readBytes(path);
    EXPECT_EQ(expected, Bytes(bytes.begin() + 26, bytes.end()));
    EXPECT_EQ(expected.size(), copyOf(load<Zfl::FileHeader>(bytes, 0).markersSize));
    expectRecording(path, {}, markers);
}

TEST_F(ZflFileTest, MarkersCanBeReadInAnyOrder) {
    std::vector<Marker> markers;
    for (uint32_t m = 0; m < 20; ++m)
        markers.push_back(marker(100 * m, m % 5, m, std::string(m * 7, static_cast<char>('A' + m))));
    writeRecording(path, sampleTracks(), markers);
    Opened file(path);
    for (uint32_t m : {19u, 0u, 7u, 6u, 8u, 19u, 1u})
        expectSameMarker(markers[m], file.readMarker(m));
}

TEST_F(ZflFileTest, UnknownTailOfALongerMarkerIsSkipped) {
    const std::vector<Marker> markers = {marker(1, Marker::DisplayText, 0, "first"),
                                         marker(2, Marker::SwitchCamera, 0, "cam"),
                                         marker(3, Marker::PlaySound, 0, "last.wav")};
    writeRecording(path, sampleTracks(), markers);
    Bytes bytes = readBytes(path);
    const Layout layout = layoutOf(sampleTracks(), markers);
    // A later version appends fields to the first two markers.
    insertFill(bytes, layout.marker[2], 9, 0x99);
    store<uint16_t>(bytes, layout.marker[1], static_cast<uint16_t>(markerLength(markers[1]) + 9));
    insertFill(bytes, layout.marker[1], 4, 0x88);
    store<uint16_t>(bytes, layout.marker[0], static_cast<uint16_t>(markerLength(markers[0]) + 4));
    store<uint32_t>(bytes, 18, layout.markersSize + 13);
    writeBytes(path, bytes);
    Opened file(path);
    for (uint32_t m : {2u, 0u, 1u})
        expectSameMarker(markers[m], file.readMarker(m));
}

// ---- other versions of the format ----

// Minor version 1 had no markers, nor Mach, time of day and date; its file header ends after the
// track count, though a file may declare the longer header of later versions.
TEST_F(ZflFileTest, MinorVersionOneHasNoMarkersNorItsLaterGroups) {
    const auto tracks = sampleTracks();
    writeRecording(path, tracks, sampleMarkers());
    const Bytes written = readBytes(path);
    for (uint16_t headerSize : {uint16_t{26}, uint16_t{18}}) {
        SCOPED_TRACE("header size " + std::to_string(headerSize));
        Bytes bytes = written;
        bytes.erase(bytes.begin() + headerSize, bytes.begin() + 26);
        store<uint32_t>(bytes, 4, 0x00010001);
        store<uint16_t>(bytes, 8, headerSize);
        writeBytes(path, bytes);
        Opened file(path);
        EXPECT_EQ(0u, file.getNMarkers());
        ASSERT_EQ(2u, file.getNTracks());
        for (uint32_t t = 0; t < 2; ++t) {
            TrackData expected = tracks[t]; // the stored record sizes still give the stride
            expected.info.format = {expected.info.format.nEngines,
                                    expected.info.format.ContFlags & ~(ContGroup::Mach | ContGroup::TimeOfDay),
                                    expected.info.format.DiscFlags & ~DiscGroup::Date, tracks[t].contSize(),
                                    tracks[t].discSize()};
            expectTrack(file, t, expected);
        }
    }
}

TEST_F(ZflFileTest, LargerHeadersOfALaterVersionAreSkippedExactly) {
    writeRecording(path, sampleTracks(), sampleMarkers());
    Bytes bytes = readBytes(path);
    const Layout layout = layoutOf(sampleTracks(), sampleMarkers());
    // Later parts first, so that the earlier offsets stay valid.
    insertFill(bytes, layout.trackData[1], 91, 0x66);
    store<uint16_t>(bytes, layout.trackHeader[1], 400);
    insertFill(bytes, layout.trackData[0], 11, 0x77);
    store<uint16_t>(bytes, layout.trackHeader[0], 320);
    store<uint32_t>(bytes, 10, layout.tracksSize + 102);
    insertFill(bytes, 26, 14, 0x55);
    store<uint16_t>(bytes, 8, 40);
    store<uint32_t>(bytes, 4, 0x00010007);
    writeBytes(path, bytes);
    expectRecording(path, sampleTracks(), sampleMarkers());
}

// ---- digest ----

TEST_F(ZflFileTest, StoredDigestIsTheKeyedDigestOfTheTrackData) {
    const auto tracks = sampleTracks();
    writeRecording(path, tracks);
    const Bytes bytes = readBytes(path);
    TrackDigest digest;
    digest.update(tracks[0].cont.data(), tracks[0].cont.size());
    digest.update(tracks[0].disc.data(), tracks[0].disc.size());
    EXPECT_EQ(digest.finish(), copyOf(load<Zfl::TrackHeader>(bytes, layoutOf(tracks).trackHeader[0]).trackDigest));
    EXPECT_EQ(0u, copyOf(load<Zfl::TrackHeader>(bytes, layoutOf(tracks).trackHeader[1]).trackDigest));
}

TEST_F(ZflFileTest, ChangedDataOrDigestClearsOriginalRecordingOfThatTrackOnly) {
    const TrackData own = makeTrack(trackInfo("Own", 2, ContGroup::All, DiscGroup::All, 0, 0, 1), 20, 7, 5);
    const TrackData second = makeTrack(trackInfo("Also own", 1, ContGroup::Throttles, DiscGroup::Gear, 0, 0, 1), 3, 2, 6);
    writeRecording(path, {own, second}, sampleMarkers());
    const Bytes written = readBytes(path);
    const Layout l = layoutOf({own, second}, sampleMarkers());
    const std::size_t data = l.trackData[0], header = l.trackHeader[0];
    const struct {
        const char* what;
        std::size_t at;
        uint8_t original;
    } cases[] = {{"first data byte", data, 0},
                 {"last continuous byte", data + own.cont.size() - 1, 0},
                 {"first discrete byte", data + own.cont.size(), 0},
                 {"past the first kilobyte", data + 1500, 0},
                 {"last data byte", data + own.cont.size() + own.disc.size() - 1, 0},
                 {"stored digest", header + offsetof(Zfl::TrackHeader, trackDigest), 0},
                 {"title, which the digest does not cover", header + offsetof(Zfl::TrackHeader, title), 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = written;
        bytes[c.at] ^= 0x01;
        writeBytes(path, bytes);
        Opened file(path);
        EXPECT_EQ(c.original, file.getTrackInfo(0).originalRecording);
        EXPECT_EQ(1, file.getTrackInfo(1).originalRecording);
        // The data itself stays readable.
        EXPECT_EQ(second.cont, readCont(file, 1));
        EXPECT_EQ(3u, file.getNMarkers());
    }
}

// ---- destruction of an open file ----

class ZflFileLogTest : public TempLogTest {
protected:
    TempDir dir;
    std::string path = dir.file("flight.zfl");
};

TEST_F(ZflFileLogTest, DestroyingAnOpenFileWarnsAndKeepsNothingOfAFileBeingWritten) {
    const std::string warning = "Warning: ZflFile not closed before destruction\n";
    writeRecording(path, sampleTracks(), {});
    const Bytes older = readBytes(path);
    {
        ZflFile writer;
        writer.open(path, ZflFile::Write);
        writeTracks(writer, {sampleTracks()[0]}, sampleMarkers());
    }
    EXPECT_EQ(1u, occurrences(logText(), warning));
    EXPECT_EQ(older, readBytes(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    {
        Opened open(path);
        Opened closed(path);
        closed.close();
    }
    EXPECT_EQ(2u, occurrences(logText(), warning));
}

} // namespace
