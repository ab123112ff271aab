#include <gtest/gtest.h>

#include "Packed.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "DataBuffer.h"
#include "Log.h"
#include "TempDir.h"
#include "TrackDigest.h"
#include "ZephrelException.h"
#include "ZflFile.h"
#include "ZflFormat.h"
#include "ZflTestFiles.h"

using namespace zfltest;

namespace {

// Two aircraft with different groups: a single-engine one with a digest, and a twin carrying
// every group and record sizes larger than its groups need (as a later version would write).
std::vector<TrackData> sampleTracks() {
    TrackInfo cessna = trackInfo("Cessna Skyhawk 172SP", 1,
                                 ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Airspeeds |
                                     ContGroup::Mach,
                                 DiscGroup::Flaps | DiscGroup::Gear | DiscGroup::ParkingBrake, 0, 0, 1, "N172SP",
                                 1.25f);
    TrackInfo twin = trackInfo("Beechcraft Baron 58", 2, ContGroup::All, DiscGroup::All,
                               contRecordSize(ContGroup::All, 2) + 7, discRecordSize(DiscGroup::All) + 3, 0,
                               "D-IBAR", 2.5f);
    return {makeTrack(cessna, 12, 3, 100), makeTrack(twin, 5, 2, 200)};
}

std::vector<Marker> sampleMarkers() {
    return {marker(10000, Marker::DisplayText, Marker::kChapter, "Take-off"),
            marker(20000, Marker::SwitchCamera, 0, "Tower"), marker(30000, Marker::PlaySound, 5, "atc.wav")};
}

void expectSameMarker(const Marker& expected, const Marker& actual) {
    EXPECT_EQ(copyOf(expected.time), copyOf(actual.time));
    EXPECT_EQ(copyOf(expected.type), copyOf(actual.type));
    EXPECT_EQ(copyOf(expected.flags), copyOf(actual.flags));
    EXPECT_EQ(expected.text, actual.text);
    if (expected.type == Marker::SwitchCamera) {
        EXPECT_EQ(expected.cameraId, actual.cameraId);
    }
    EXPECT_EQ(0, actual.include);
}

// Every part of the file reads back as it was given: headers, records and markers.
void expectRecording(const std::string& path, const std::vector<TrackData>& tracks,
                     const std::vector<Marker>& markers) {
    ZflFile file;
    file.open(path, ZflFile::Read);
    std::vector<const TrackData*> stored;
    for (const TrackData& t : tracks)
        if (!t.empty())
            stored.push_back(&t);
    ASSERT_EQ(stored.size(), file.getNTracks());
    for (uint32_t i = 0; i < file.getNTracks(); ++i) {
        SCOPED_TRACE("track " + std::to_string(i));
        const TrackData& expected = *stored[i];
        const TrackInfo& info = file.getTrackInfo(i);
        EXPECT_STREQ(expected.info.title, info.title);
        EXPECT_STREQ(expected.info.tailNumber, info.tailNumber);
        EXPECT_EQ(copyOf(expected.info.staticCGtoGround), copyOf(info.staticCGtoGround));
        EXPECT_EQ(copyOf(expected.info.format.nEngines), copyOf(info.format.nEngines));
        EXPECT_EQ(copyOf(expected.info.format.ContFlags), copyOf(info.format.ContFlags));
        EXPECT_EQ(copyOf(expected.info.format.DiscFlags), copyOf(info.format.DiscFlags));
        EXPECT_EQ(expected.contSize(), copyOf(info.format.contRecordSize));
        EXPECT_EQ(expected.discSize(), copyOf(info.format.discRecordSize));
        EXPECT_EQ(expected.nCont(), copyOf(info.nCont));
        EXPECT_EQ(expected.nDisc(), copyOf(info.nDisc));
        EXPECT_EQ(expected.info.originalRecording, info.originalRecording);
        EXPECT_EQ(expected.cont, readCont(file, i));
        EXPECT_EQ(expected.disc, readDisc(file, i));
    }
    ASSERT_EQ(markers.size(), file.getNMarkers());
    for (uint32_t m = 0; m < file.getNMarkers(); ++m) {
        SCOPED_TRACE("marker " + std::to_string(m));
        expectSameMarker(markers[m], file.readMarker(m));
    }
}

class ZflFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("flight.zfl");
};

// ---- round trip and on-disk layout ----

TEST_F(ZflFileTest, WrittenRecordingReadsBackTracksRecordsAndMarkers) {
    const auto tracks = sampleTracks();
    const auto markers = sampleMarkers();
    writeRecording(path, tracks, markers);
    expectRecording(path, tracks, markers);
}

TEST_F(ZflFileTest, RecordsWrittenThroughDataBufferReadBackFieldByField) {
    TrackInfo info = trackInfo("Piper", 2, ContGroup::Throttles | ContGroup::Airspeeds | ContGroup::TimeOfDay,
                               DiscGroup::Engines | DiscGroup::ComRadios | DiscGroup::Date);
    const uint32_t contSize = contRecordSize(info.format.ContFlags, 2);
    const uint32_t discSize = discRecordSize(info.format.DiscFlags);
    Bytes cont(3 * contSize), disc(discSize);
    DataBuffer writer(cont.data(), disc.data(), info.format);
    for (uint32_t i = 0; i < 3; ++i) {
        ContData c{};
        c.timestamp = 100 * i;
        c.latitude = -123456789012LL;
        c.throttle[0] = static_cast<int16_t>(i);
        c.throttle[1] = -16384;
        c.TAS = 120.5f;
        c.hour = 13;
        c.second = 59;
        writer.setContData(i, c);
    }
    DiscData d{};
    d.timestamp = 50;
    d.engines = 0x3;
    d.com = 0x22551850;
    d.squawk = 0x7700;
    d.year = 2011;
    writer.setDiscData(0, d);

    ZflFile out;
    out.open(path, ZflFile::Write);
    out.addTrack(info);
    out.writeContData(3, cont.data());
    out.writeDiscData(1, disc.data());
    out.close();

    ZflFile in;
    in.open(path, ZflFile::Read);
    Bytes readBack = readCont(in, 0);
    Bytes readBackDisc = readDisc(in, 0);
    DataBuffer reader(readBack.data(), readBackDisc.data(), in.getTrackInfo(0).format);
    ContData c{};
    reader.getContData(2, c);
    EXPECT_EQ(200u, copyOf(c.timestamp));
    EXPECT_EQ(-123456789012LL, copyOf(c.latitude));
    EXPECT_EQ(2, copyOf(c.throttle[0]));
    EXPECT_EQ(-16384, copyOf(c.throttle[1]));
    EXPECT_EQ(120.5f, copyOf(c.TAS));
    EXPECT_EQ(13, copyOf(c.hour));
    EXPECT_EQ(59, copyOf(c.second));
    DiscData e{};
    reader.getDiscData(0, e);
    EXPECT_EQ(50u, copyOf(e.timestamp));
    EXPECT_EQ(0x3, copyOf(e.engines));
    EXPECT_EQ(0x22551850u, copyOf(e.com));
    EXPECT_EQ(0x7700, copyOf(e.squawk));
    EXPECT_EQ(2011, copyOf(e.year));
}

TEST_F(ZflFileTest, HeadersOnDiskHaveTheCurrentVersionSizesAndCounts) {
    const auto tracks = sampleTracks();
    const auto markers = sampleMarkers();
    writeRecording(path, tracks, markers);
    const Bytes bytes = readBytes(path);
    const Layout layout = layoutOf(tracks, markers);
    ASSERT_EQ(layout.size, bytes.size());

    const auto fh = load<Zfl::FileHeader>(bytes, 0);
    EXPECT_EQ(0, std::memcmp(fh.magic, "ZFL2", 4));
    EXPECT_EQ(0x00010003u, copyOf(fh.version));
    EXPECT_EQ(26, copyOf(fh.headerSize));
    EXPECT_EQ(copyOf(layout.tracksSize), copyOf(fh.tracksSize));
    EXPECT_EQ(2u, copyOf(fh.nTracks));
    EXPECT_EQ(copyOf(layout.markersSize), copyOf(fh.markersSize));
    EXPECT_EQ(3u, copyOf(fh.nMarkers));

    for (std::size_t t = 0; t < tracks.size(); ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        const auto th = load<Zfl::TrackHeader>(bytes, layout.trackHeader[t]);
        EXPECT_EQ(309, copyOf(th.headerSize));
        EXPECT_EQ(tracks[t].cont.size() + tracks[t].disc.size(), copyOf(th.dataSize));
        EXPECT_EQ(0, std::strncmp(tracks[t].info.title, th.title, sizeof th.title));
        EXPECT_EQ(0, std::strncmp(tracks[t].info.tailNumber, th.tailNumber, sizeof th.tailNumber));
        EXPECT_EQ(copyOf(tracks[t].info.staticCGtoGround), copyOf(th.staticCGtoGround));
        EXPECT_EQ(copyOf(tracks[t].info.format.nEngines), copyOf(th.format.nEngines));
        EXPECT_EQ(tracks[t].contSize(), copyOf(th.format.contRecordSize));
        EXPECT_EQ(tracks[t].discSize(), copyOf(th.format.discRecordSize));
        EXPECT_EQ(tracks[t].nCont(), copyOf(th.nCont));
        EXPECT_EQ(tracks[t].nDisc(), copyOf(th.nDisc));
        EXPECT_EQ(tracks[t].info.originalRecording != 0, copyOf(th.trackDigest) != 0);
        Bytes data(bytes.begin() + static_cast<std::ptrdiff_t>(layout.trackData[t]),
                   bytes.begin() + static_cast<std::ptrdiff_t>(layout.trackData[t] + th.dataSize));
        Bytes expected = tracks[t].cont;
        expected.insert(expected.end(), tracks[t].disc.begin(), tracks[t].disc.end());
        EXPECT_EQ(expected, data);
    }
}

TEST_F(ZflFileTest, TailNumberKeepsAtMostTenCharacters) {
    std::vector<TrackData> tracks = {makeTrack(trackInfo("Long tail", 0, 0, 0, 0, 0, 0, "ABCDEFGHIJK"), 1, 1, 1)};
    writeRecording(path, tracks);
    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_STREQ("ABCDEFGHIJ", file.getTrackInfo(0).tailNumber);
}

TEST_F(ZflFileTest, LongestTitleAndFullTailNumberSurvive) {
    const std::string title(255, 'T');
    std::vector<TrackData> tracks = {makeTrack(trackInfo(title, 0, 0, 0, 0, 0, 0, "0123456789"), 1, 0, 1)};
    writeRecording(path, tracks);
    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_EQ(title, file.getTrackInfo(0).title);
    EXPECT_STREQ("0123456789", file.getTrackInfo(0).tailNumber);
}

TEST_F(ZflFileTest, RecordingWithoutTracksOrMarkersIsJustTheFileHeader) {
    ZflFile out;
    out.open(path, ZflFile::Write);
    out.close();
    EXPECT_EQ(26u, std::filesystem::file_size(path));
    ZflFile in;
    in.open(path, ZflFile::Read);
    EXPECT_EQ(0u, in.getNTracks());
    EXPECT_EQ(0u, in.getNMarkers());
}

TEST_F(ZflFileTest, OpeningAgainFinishesTheFileStillBeingWritten) {
    const auto tracks = sampleTracks();
    ZflFile file;
    file.open(path, ZflFile::Write);
    file.addTrack(tracks[0].info);
    file.writeContData(tracks[0].nCont(), tracks[0].cont.data());
    file.writeDiscData(tracks[0].nDisc(), tracks[0].disc.data());
    file.open(path, ZflFile::Read);
    EXPECT_EQ(1u, file.getNTracks());
    EXPECT_EQ(tracks[0].cont, readCont(file, 0));
    EXPECT_EQ(tracks[0].disc, readDisc(file, 0));
    EXPECT_EQ(1, file.getTrackInfo(0).originalRecording);
}

// A copy tool hands over the track headers it read, counts and all; the writer counts for itself.
TEST_F(ZflFileTest, AddTrackIgnoresTheRecordCountsItIsGiven) {
    const auto tracks = sampleTracks();
    const auto markers = sampleMarkers();
    writeRecording(path, tracks, markers);
    const std::string copy = dir.file("copy.zfl");
    ZflFile in;
    in.open(path, ZflFile::Read);
    ZflFile out;
    out.open(copy, ZflFile::Write);
    for (uint32_t t = 0; t < in.getNTracks(); ++t) {
        TrackInfo info = in.getTrackInfo(t);
        out.addTrack(info);
        const Bytes cont = readCont(in, t);
        const Bytes disc = readDisc(in, t);
        out.writeContData(info.nCont - 1, cont.data());
        out.writeContData(1, cont.data() + std::size_t{info.nCont - 1} * info.format.contRecordSize);
        out.writeDiscData(info.nDisc, disc.data());
    }
    for (uint32_t m = 0; m < in.getNMarkers(); ++m)
        out.addMarker(in.readMarker(m));
    out.close();
    EXPECT_EQ(readBytes(path), readBytes(copy));
}

TEST_F(ZflFileTest, CloseOfAClosedFileDoesNothing) {
    ZflFile file;
    EXPECT_NO_THROW(file.close());
    writeRecording(path, sampleTracks());
    file.open(path, ZflFile::Read);
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_NO_THROW(file.close());
}

// ---- empty tracks ----

struct EmptyTrackCase {
    const char* name;
    std::vector<std::pair<uint32_t, uint32_t>> records; // nCont, nDisc of each added track
    uint32_t nMarkers;
};

void PrintTo(const EmptyTrackCase& c, std::ostream* os) { *os << c.name; }

class ZflFileEmptyTrackTest : public ZflFileTest, public ::testing::WithParamInterface<EmptyTrackCase> {};

TEST_P(ZflFileEmptyTrackTest, TracksWithoutRecordsLeaveNoTraceInTheFile) {
    const EmptyTrackCase& c = GetParam();
    std::vector<TrackData> tracks;
    for (std::size_t i = 0; i < c.records.size(); ++i)
        tracks.push_back(makeTrack(trackInfo("Track " + std::to_string(i), 1, ContGroup::Throttles, DiscGroup::Gear),
                                   c.records[i].first, c.records[i].second, static_cast<uint32_t>(10 * i)));
    std::vector<Marker> markers;
    for (uint32_t m = 0; m < c.nMarkers; ++m)
        markers.push_back(marker(1000 * m, Marker::DisplayText, 0, "m" + std::to_string(m)));
    writeRecording(path, tracks, markers);

    expectRecording(path, tracks, markers);
    const Layout layout = layoutOf(tracks, markers);
    const Bytes bytes = readBytes(path);
    EXPECT_EQ(layout.size, bytes.size());
    const auto fh = load<Zfl::FileHeader>(bytes, 0);
    EXPECT_EQ(layout.trackHeader.size(), copyOf(fh.nTracks));
    EXPECT_EQ(copyOf(layout.tracksSize), copyOf(fh.tracksSize));
    EXPECT_EQ(copyOf(layout.markersSize), copyOf(fh.markersSize));
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, ZflFileEmptyTrackTest,
    ::testing::Values(EmptyTrackCase{"OnlyAnEmptyTrack", {{0, 0}}, 0},
                      EmptyTrackCase{"EmptyTrackBeforeAndAfterOneWithData", {{0, 0}, {4, 2}, {0, 0}}, 0},
                      EmptyTrackCase{"EmptyLastTrackFollowedByMarkers", {{3, 1}, {0, 0}}, 2},
                      EmptyTrackCase{"OnlyAnEmptyTrackFollowedByOneShortMarker", {{0, 0}}, 1},
                      EmptyTrackCase{"SeveralEmptyTracksBetweenTracksWithData",
                                     {{2, 0}, {0, 0}, {0, 0}, {1, 1}, {0, 0}},
                                     3},
                      EmptyTrackCase{"TrackWithOnlyDiscreteRecordsIsKept", {{0, 2}, {0, 0}}, 0}),
    caseName<EmptyTrackCase>);

// ---- call-order rules ----

enum class State { Closed, Reading, WritingContinuous, WritingDiscrete, WritingMarkers, WritingDiscreteThenMarkers };

struct MisuseCase {
    const char* name;
    State state;
    std::function<void(ZflFile&)> call;
    const char* function;
    const char* detail;
};

void PrintTo(const MisuseCase& c, std::ostream* os) { *os << c.name; }

std::array<unsigned char, 4096> scratch{};

const TrackInfo kRuleTrack = trackInfo("Rules", 1, ContGroup::Throttles, DiscGroup::Flaps);

class ZflFileCallOrderTest : public ZflFileTest, public ::testing::WithParamInterface<MisuseCase> {
protected:
    // A file with one track (2 continuous and, where the state says so, 1 discrete record) and,
    // where the state says so, 1 marker.
    void enter(ZflFile& file, State state) {
        const bool disc = state == State::WritingDiscrete || state == State::WritingDiscreteThenMarkers;
        const bool markers = state == State::WritingMarkers || state == State::WritingDiscreteThenMarkers;
        if (state == State::Closed)
            return;
        if (state == State::Reading) {
            writeRecording(path, {makeTrack(kRuleTrack, 2, 1, 3)}, {marker(5, Marker::Pause, 0, "")});
            file.open(path, ZflFile::Read);
            return;
        }
        file.open(path, ZflFile::Write);
        file.addTrack(kRuleTrack);
        file.writeContData(2, scratch.data());
        if (disc)
            file.writeDiscData(1, scratch.data());
        if (markers)
            file.addMarker(marker(5, Marker::Pause, 0, ""));
    }
};

TEST_P(ZflFileCallOrderTest, MisuseIsRefusedWithItsDetailAndLeavesTheFileIntact) {
    const MisuseCase& c = GetParam();
    ZflFile file;
    enter(file, c.state);
    auto e = thrown([&] { c.call(file); });
    ASSERT_TRUE(e.has_value()) << "no exception";
    EXPECT_EQ(16u, e->code);
    EXPECT_EQ(2u, e->severity);
    EXPECT_EQ(c.function, e->function);
    EXPECT_EQ("An unexpected error occured!", e->userText);
    EXPECT_EQ(0u, e->logText.rfind(std::string("Error: ") + c.detail + " [" + c.function + ", line ", 0))
        << e->logText;

    if (c.state == State::Closed || c.state == State::Reading)
        return;
    // The refused call changed nothing: the file is finished as it stood.
    file.close();
    ZflFile in;
    in.open(path, ZflFile::Read);
    ASSERT_EQ(1u, in.getNTracks());
    EXPECT_EQ(2u, copyOf(in.getTrackInfo(0).nCont));
    const bool disc = c.state == State::WritingDiscrete || c.state == State::WritingDiscreteThenMarkers;
    const bool markers = c.state == State::WritingMarkers || c.state == State::WritingDiscreteThenMarkers;
    EXPECT_EQ(disc ? 1u : 0u, copyOf(in.getTrackInfo(0).nDisc));
    EXPECT_EQ(markers ? 1u : 0u, in.getNMarkers());
}

constexpr const char* kNotOpened = "File not opened";
constexpr const char* kWriteMode = "Call in write mode";
constexpr const char* kReadMode = "Call in read mode";
constexpr const char* kTrackRange = "Track index out of range";
constexpr const char* kMarkerRange = "Marker index out of range";
constexpr const char* kAfterDisc = "Call after discrete data was written";
constexpr const char* kAfterMarkers = "Call after markers were written";

uint32_t u0, u1, u2, u3;

// Out-of-range indices in the closed and write-mode cases show that the earlier checks come first.
const MisuseCase kMisuseCases[] = {
    {"GetNTracksClosed", State::Closed, [](ZflFile& f) { f.getNTracks(); }, "ZflFile::getNTracks", kNotOpened},
    {"GetNMarkersClosed", State::Closed, [](ZflFile& f) { f.getNMarkers(); }, "ZflFile::getNMarkers", kNotOpened},
    {"GetTrackInfoClosed", State::Closed, [](ZflFile& f) { f.getTrackInfo(9); }, "ZflFile::getTrackInfo",
     kNotOpened},
    {"ReadContDataClosed", State::Closed, [](ZflFile& f) { f.readContData(9, 0, 1, scratch.data()); },
     "ZflFile::readContData", kNotOpened},
    {"ReadDiscDataClosed", State::Closed, [](ZflFile& f) { f.readDiscData(9, 0, 1, scratch.data()); },
     "ZflFile::readDiscData", kNotOpened},
    {"GetStartTimeClosed", State::Closed, [](ZflFile& f) { f.getStartTime(9); }, "ZflFile::getStartTime",
     kNotOpened},
    {"GetEndTimeClosed", State::Closed, [](ZflFile& f) { f.getEndTime(9); }, "ZflFile::getEndTime", kNotOpened},
    {"GetTimeRangesClosed", State::Closed, [](ZflFile& f) { f.getTimeRanges(9, u0, u1, u2, u3); },
     "ZflFile::getTimeRanges", kNotOpened},
    {"ReadMarkerClosed", State::Closed, [](ZflFile& f) { f.readMarker(9); }, "ZflFile::readMarker", kNotOpened},
    {"AddTrackClosed", State::Closed, [](ZflFile& f) { f.addTrack(kRuleTrack); }, "ZflFile::addTrack", kNotOpened},
    {"WriteContDataClosed", State::Closed, [](ZflFile& f) { f.writeContData(1, scratch.data()); },
     "ZflFile::writeContData", kNotOpened},
    {"WriteDiscDataClosed", State::Closed, [](ZflFile& f) { f.writeDiscData(1, scratch.data()); },
     "ZflFile::writeDiscData", kNotOpened},
    {"AddMarkerClosed", State::Closed, [](ZflFile& f) { f.addMarker(Marker{}); }, "ZflFile::addMarker",
     kNotOpened},

    {"GetTrackInfoWriting", State::WritingContinuous, [](ZflFile& f) { f.getTrackInfo(9); },
     "ZflFile::getTrackInfo", kWriteMode},
    {"ReadContDataWriting", State::WritingContinuous, [](ZflFile& f) { f.readContData(9, 0, 1, scratch.data()); },
     "ZflFile::readContData", kWriteMode},
    {"ReadDiscDataWriting", State::WritingContinuous, [](ZflFile& f) { f.readDiscData(9, 0, 1, scratch.data()); },
     "ZflFile::readDiscData", kWriteMode},
    {"GetStartTimeWriting", State::WritingContinuous, [](ZflFile& f) { f.getStartTime(9); },
     "ZflFile::getStartTime", kWriteMode},
    {"GetEndTimeWriting", State::WritingContinuous, [](ZflFile& f) { f.getEndTime(9); }, "ZflFile::getEndTime",
     kWriteMode},
    {"GetTimeRangesWriting", State::WritingContinuous, [](ZflFile& f) { f.getTimeRanges(9, u0, u1, u2, u3); },
     "ZflFile::getTimeRanges", kWriteMode},
    {"ReadMarkerWriting", State::WritingMarkers, [](ZflFile& f) { f.readMarker(9); }, "ZflFile::readMarker",
     kWriteMode},

    {"AddTrackReading", State::Reading, [](ZflFile& f) { f.addTrack(kRuleTrack); }, "ZflFile::addTrack",
     kReadMode},
    {"WriteContDataReading", State::Reading, [](ZflFile& f) { f.writeContData(1, scratch.data()); },
     "ZflFile::writeContData", kReadMode},
    {"WriteDiscDataReading", State::Reading, [](ZflFile& f) { f.writeDiscData(1, scratch.data()); },
     "ZflFile::writeDiscData", kReadMode},
    {"AddMarkerReading", State::Reading, [](ZflFile& f) { f.addMarker(Marker{}); }, "ZflFile::addMarker",
     kReadMode},

    {"GetTrackInfoPastLastTrack", State::Reading, [](ZflFile& f) { f.getTrackInfo(1); }, "ZflFile::getTrackInfo",
     kTrackRange},
    {"ReadContDataPastLastTrack", State::Reading, [](ZflFile& f) { f.readContData(1, 0, 1, scratch.data()); },
     "ZflFile::readContData", kTrackRange},
    {"ReadDiscDataPastLastTrack", State::Reading,
     [](ZflFile& f) { f.readDiscData(0xffffffffu, 0, 1, scratch.data()); }, "ZflFile::readDiscData", kTrackRange},
    {"GetStartTimePastLastTrack", State::Reading, [](ZflFile& f) { f.getStartTime(1); }, "ZflFile::getStartTime",
     kTrackRange},
    {"GetEndTimePastLastTrack", State::Reading, [](ZflFile& f) { f.getEndTime(1); }, "ZflFile::getEndTime",
     kTrackRange},
    {"GetTimeRangesPastLastTrack", State::Reading, [](ZflFile& f) { f.getTimeRanges(1, u0, u1, u2, u3); },
     "ZflFile::getTimeRanges", kTrackRange},
    {"ReadMarkerPastLastMarker", State::Reading, [](ZflFile& f) { f.readMarker(1); }, "ZflFile::readMarker",
     kMarkerRange},

    {"WriteContDataAfterDiscreteData", State::WritingDiscrete, [](ZflFile& f) { f.writeContData(1, scratch.data()); },
     "ZflFile::writeContData", kAfterDisc},
    {"AddTrackAfterMarkers", State::WritingMarkers, [](ZflFile& f) { f.addTrack(kRuleTrack); }, "ZflFile::addTrack",
     kAfterMarkers},
    {"WriteContDataAfterMarkers", State::WritingMarkers, [](ZflFile& f) { f.writeContData(1, scratch.data()); },
     "ZflFile::writeContData", kAfterMarkers},
    {"WriteDiscDataAfterMarkers", State::WritingMarkers, [](ZflFile& f) { f.writeDiscData(1, scratch.data()); },
     "ZflFile::writeDiscData", kAfterMarkers},
    {"WriteContDataAfterDiscreteDataAndMarkers", State::WritingDiscreteThenMarkers,
     [](ZflFile& f) { f.writeContData(1, scratch.data()); }, "ZflFile::writeContData", kAfterDisc},
};

INSTANTIATE_TEST_SUITE_P(Rules, ZflFileCallOrderTest, ::testing::ValuesIn(kMisuseCases),
                         caseName<MisuseCase>);

TEST_F(ZflFileTest, ClosedFileRefusesCallsAgainAfterUse) {
    ZflFile file;
    writeRecording(path, sampleTracks());
    file.open(path, ZflFile::Read);
    file.close();
    auto e = thrown([&] { file.getNTracks(); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(0u, e->logText.rfind("Error: File not opened [ZflFile::getNTracks, line ", 0)) << e->logText;
}

TEST_F(ZflFileTest, ContinuousDataIsAllowedAgainInTheNextTrack) {
    const auto tracks = sampleTracks();
    ZflFile file;
    file.open(path, ZflFile::Write);
    file.addTrack(tracks[0].info);
    file.writeContData(tracks[0].nCont(), tracks[0].cont.data());
    file.writeDiscData(tracks[0].nDisc(), tracks[0].disc.data());
    file.addTrack(tracks[1].info);
    EXPECT_NO_THROW(file.writeContData(tracks[1].nCont(), tracks[1].cont.data()));
    file.writeDiscData(tracks[1].nDisc(), tracks[1].disc.data());
    file.close();
    expectRecording(path, tracks, {});
}

TEST_F(ZflFileTest, RecordsBeforeTheFirstTrackAreRefused) {
    ZflFile file;
    file.open(path, ZflFile::Write);
    auto cont = thrown([&] { file.writeContData(1, scratch.data()); });
    auto disc = thrown([&] { file.writeDiscData(1, scratch.data()); });
    ASSERT_TRUE(cont && disc);
    EXPECT_EQ(16u, cont->code);
    EXPECT_EQ(16u, disc->code);
    file.close();
    EXPECT_EQ(26u, std::filesystem::file_size(path));
}

TEST_F(ZflFileTest, TrackWhoseRecordSizesCannotHoldItsGroupsIsRefused) {
    TrackInfo tooSmall = trackInfo("Small", 2, ContGroup::Throttles, DiscGroup::NavRadios,
                                   contRecordSize(ContGroup::Throttles, 2) - 1, 0);
    TrackInfo discTooSmall =
        trackInfo("Small", 2, ContGroup::Throttles, DiscGroup::NavRadios, 0, discRecordSize(DiscGroup::NavRadios) - 1);
    const auto tracks = sampleTracks();
    ZflFile file;
    file.open(path, ZflFile::Write);
    auto cont = thrown([&] { file.addTrack(tooSmall); });
    auto disc = thrown([&] { file.addTrack(discTooSmall); });
    ASSERT_TRUE(cont && disc);
    EXPECT_EQ(16u, cont->code);
    EXPECT_EQ(16u, disc->code);
    // The writer goes on as if the refused tracks had never been offered.
    file.addTrack(tracks[0].info);
    file.writeContData(tracks[0].nCont(), tracks[0].cont.data());
    file.writeDiscData(tracks[0].nDisc(), tracks[0].disc.data());
    file.close();
    expectRecording(path, {tracks[0]}, {});
}

// ---- failures of the file itself ----

TEST_F(ZflFileTest, MissingFileCannotBeOpenedForReading) {
    const std::string missing = dir.file("missing.zfl");
    ZflFile file;
    auto e = thrown([&] { file.open(missing, ZflFile::Read); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(8u, e->code);
    EXPECT_EQ("File " + missing + " could not be opened!", e->userText);
    EXPECT_FALSE(file.isOpen());
}

TEST_F(ZflFileTest, FileInAMissingFolderCannotBeOpenedForWriting) {
    const std::string nowhere = dir.file("no/such/folder.zfl");
    ZflFile file;
    auto e = thrown([&] { file.open(nowhere, ZflFile::Write); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(8u, e->code);
    EXPECT_EQ("File " + nowhere + " could not be opened!", e->userText);
    EXPECT_FALSE(file.isOpen());
}

TEST_F(ZflFileTest, HeaderThatCannotBeWrittenFailsTheOpen) {
    ZflFile file;
    auto e = thrown([&] { file.open("/dev/full", ZflFile::Write); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(10u, e->code);
    EXPECT_EQ("Writing to file '/dev/full' failed!", e->userText);
    EXPECT_FALSE(file.isOpen());
}

TEST_F(ZflFileTest, TrackLargerThanItsSizeFieldIsRefusedBeforeAnythingIsWritten) {
    const auto tracks = sampleTracks();
    ZflFile file;
    file.open(path, ZflFile::Write);
    file.addTrack(trackInfo("Huge", 0, 0, 0));
    file.writeContData(3, scratch.data());
    // 2^26 records of 64 bytes are 4 GiB, one byte more than a 32-bit size can say.
    auto e = thrown([&] { file.writeContData(1u << 26, scratch.data()); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(10u, e->code);
    EXPECT_EQ("ZflFile::writeContData", e->function);
    file.close();
    ZflFile in;
    in.open(path, ZflFile::Read);
    ASSERT_EQ(1u, in.getNTracks());
    EXPECT_EQ(3u, copyOf(in.getTrackInfo(0).nCont));
    EXPECT_EQ(26u + 309u + 3u * 64u, std::filesystem::file_size(path));
}

// ---- reading ranges of records ----

enum class Kind { Continuous, Discrete };

struct RangeCase {
    const char* name;
    Kind kind;
    uint32_t first;
    uint32_t count;
    uint32_t expected;
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

class ZflFileRangeTest : public ZflFileTest, public ::testing::WithParamInterface<RangeCase> {};

// The second of two tracks, so that the range is found from the track's own data offset.
TEST_P(ZflFileRangeTest, ReadsOnlyTheRecordsThatExist) {
    const RangeCase& c = GetParam();
    const TrackData first = makeTrack(trackInfo("First", 1, ContGroup::Throttles, DiscGroup::Gear), 4, 2, 1);
    const TrackData second =
        makeTrack(trackInfo("Second", 2, ContGroup::Airspeeds, DiscGroup::Lights, 90, 11), 6, 4, 2);
    writeRecording(path, {first, second});
    ZflFile file;
    file.open(path, ZflFile::Read);
    const bool cont = c.kind == Kind::Continuous;
    const uint32_t size = cont ? 90 : 11;
    const Bytes& records = cont ? second.cont : second.disc;

    Bytes buffer(12 * size, 0xee);
    const uint32_t got = cont ? file.readContData(1, c.first, c.count, buffer.data())
                              : file.readDiscData(1, c.first, c.count, buffer.data());
    ASSERT_EQ(c.expected, got);
    Bytes expected(buffer.size(), 0xee);
    if (got > 0)
        std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(std::size_t{c.first} * size),
                    std::size_t{got} * size, expected.begin());
    EXPECT_EQ(expected, buffer);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ZflFileRangeTest,
    ::testing::Values(RangeCase{"AllContinuous", Kind::Continuous, 0, 6, 6},
                      RangeCase{"ContinuousNearTheEndIsClamped", Kind::Continuous, 4, 10, 2},
                      RangeCase{"ContinuousLastOne", Kind::Continuous, 5, 1, 1},
                      RangeCase{"ContinuousInTheMiddle", Kind::Continuous, 2, 3, 3},
                      RangeCase{"ContinuousStartingAtTheCount", Kind::Continuous, 6, 1, 0},
                      RangeCase{"ContinuousStartingBeyondTheCount", Kind::Continuous, 7, 3, 0},
                      RangeCase{"ContinuousStartingFarBeyond", Kind::Continuous, 0xffffffffu, 5, 0},
                      RangeCase{"ContinuousNone", Kind::Continuous, 2, 0, 0},
                      RangeCase{"ContinuousHugeCount", Kind::Continuous, 3, 0xffffffffu, 3},
                      RangeCase{"AllDiscrete", Kind::Discrete, 0, 4, 4},
                      RangeCase{"DiscreteNearTheEndIsClamped", Kind::Discrete, 2, 10, 2},
                      RangeCase{"DiscreteSecond", Kind::Discrete, 1, 1, 1},
                      RangeCase{"DiscreteStartingAtTheCount", Kind::Discrete, 4, 1, 0},
                      RangeCase{"DiscreteStartingBeyondTheCount", Kind::Discrete, 9, 1, 0}),
    caseName<RangeCase>);

// ---- markers ----

TEST_F(ZflFileTest, MarkerLengthsOnDiskCoverTheirFieldsExactly) {
    const std::vector<Marker> markers = {marker(1, Marker::None, 0, ""), marker(2, Marker::DisplayText, 0, "abc"),
                                         marker(3, Marker::SwitchCamera, 0, ""),
                                         marker(4, Marker::SwitchCamera, Marker::kChapter, "Cockpit")};
    const std::vector<uint16_t> lengths = {13, 16, 29, 36};
    writeRecording(path, {}, markers);
    const Bytes bytes = readBytes(path);
    std::size_t at = 26;
    for (std::size_t m = 0; m < markers.size(); ++m) {
        SCOPED_TRACE("marker " + std::to_string(m));
        const auto head = load<Zfl::MarkerHead>(bytes, at);
        EXPECT_EQ(lengths[m], copyOf(head.length));
        EXPECT_EQ(copyOf(markers[m].time), copyOf(head.time));
        EXPECT_EQ(copyOf(markers[m].type), copyOf(head.type));
        EXPECT_EQ(copyOf(markers[m].flags), copyOf(head.flags));
        EXPECT_EQ(markers[m].text.size(), copyOf(head.textLength));
        EXPECT_EQ(markers[m].text, std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at + 15),
                                               bytes.begin() + static_cast<std::ptrdiff_t>(at + 15 + copyOf(head.textLength))));
        if (markers[m].type == Marker::SwitchCamera) {
            EXPECT_TRUE(std::equal(markers[m].cameraId.begin(), markers[m].cameraId.end(),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(at + 15 + copyOf(head.textLength))));
        }
        at += 2u + head.length;
    }
    EXPECT_EQ(bytes.size(), at);
    EXPECT_EQ(at - 26, copyOf(load<Zfl::FileHeader>(bytes, 0).markersSize));
}

TEST_F(ZflFileTest, MarkerTextLongerThan255CharactersKeepsItsFirst255) {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += static_cast<char>('a' + i % 26);
    writeRecording(path, {}, {marker(7, Marker::DisplayText, 0, text), marker(8, Marker::Pause, 0, "next")});
    const Bytes bytes = readBytes(path);
    EXPECT_EQ(13 + 255, copyOf(load<Zfl::MarkerHead>(bytes, 26).length));
    EXPECT_EQ(255, copyOf(load<Zfl::MarkerHead>(bytes, 26).textLength));
    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_EQ(text.substr(0, 255), file.readMarker(0).text);
    EXPECT_EQ("next", file.readMarker(1).text);
}

TEST_F(ZflFileTest, CameraIdIsStoredOnlyForSwitchCameraMarkers) {
    Marker text = marker(1, Marker::DisplayText, 0, "hello");
    text.cameraId.fill(0x77);
    text.include = 1;
    Marker camera = marker(2, Marker::SwitchCamera, 3, "Spot");
    camera.include = 1;
    writeRecording(path, {}, {text, camera});
    EXPECT_EQ(26u + 2 + 18 + 2 + 33, std::filesystem::file_size(path));
    ZflFile file;
    file.open(path, ZflFile::Read);
    const Marker readText = file.readMarker(0);
    EXPECT_EQ((std::array<uint8_t, 16>{}), readText.cameraId);
    EXPECT_EQ(0, readText.include);
    const Marker readCamera = file.readMarker(1);
    EXPECT_EQ(camera.cameraId, readCamera.cameraId);
    EXPECT_EQ(0, readCamera.include);
}

TEST_F(ZflFileTest, MarkersCanBeReadInAnyOrder) {
    std::vector<Marker> markers;
    for (uint32_t m = 0; m < 20; ++m)
        markers.push_back(marker(100 * m, m % 5, m, std::string(m * 7, static_cast<char>('A' + m))));
    writeRecording(path, sampleTracks(), markers);
    ZflFile file;
    file.open(path, ZflFile::Read);
    for (uint32_t m : {19u, 0u, 7u, 6u, 8u, 19u, 1u})
        expectSameMarker(markers[m], file.readMarker(m));
}

TEST_F(ZflFileTest, UnknownTailOfALongerMarkerIsSkipped) {
    const std::vector<Marker> markers = {marker(1, Marker::DisplayText, 0, "first"),
                                         marker(2, Marker::SwitchCamera, 0, "cam"),
                                         marker(3, Marker::PlaySound, 0, "last.wav")};
    const auto tracks = sampleTracks();
    writeRecording(path, tracks, markers);
    Bytes bytes = readBytes(path);
    const Layout layout = layoutOf(tracks, markers);
    // A later version appends fields to the first two markers.
    insertFill(bytes, layout.marker[2], 9, 0x99);
    store<uint16_t>(bytes, layout.marker[1], static_cast<uint16_t>(markerLength(markers[1]) + 9));
    insertFill(bytes, layout.marker[1], 4, 0x88);
    store<uint16_t>(bytes, layout.marker[0], static_cast<uint16_t>(markerLength(markers[0]) + 4));
    store<uint32_t>(bytes, 18, layout.markersSize + 13);
    replaceFile(path, bytes);

    ZflFile file;
    file.open(path, ZflFile::Read);
    expectSameMarker(markers[2], file.readMarker(2));
    expectSameMarker(markers[0], file.readMarker(0));
    expectSameMarker(markers[1], file.readMarker(1));
}

// ---- other versions of the format ----

TEST_F(ZflFileTest, MinorVersionOneHasNoMarkersNorItsLaterGroups) {
    const uint32_t cont = ContGroup::FlightControls | ContGroup::AmbientWind | ContGroup::Mach | ContGroup::TimeOfDay |
                          ContGroup::ExtendedGear;
    const uint32_t disc = DiscGroup::Flaps | DiscGroup::Date | DiscGroup::NoseVisor;
    const std::vector<TrackData> tracks = {makeTrack(trackInfo("Old", 1, cont, disc), 5, 2, 42)};
    writeRecording(path, tracks, sampleMarkers());
    Bytes bytes = readBytes(path);
    store<uint32_t>(bytes, 4, 0x00010001);
    replaceFile(path, bytes);

    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_EQ(0u, file.getNMarkers());
    ASSERT_EQ(1u, file.getNTracks());
    const TrackInfo& info = file.getTrackInfo(0);
    EXPECT_EQ(cont & ~(ContGroup::Mach | ContGroup::TimeOfDay), copyOf(info.format.ContFlags));
    EXPECT_EQ(disc & ~DiscGroup::Date, copyOf(info.format.DiscFlags));
    EXPECT_EQ(contRecordSize(cont, 1), copyOf(info.format.contRecordSize));
    EXPECT_EQ(discRecordSize(disc), copyOf(info.format.discRecordSize));
    EXPECT_EQ(tracks[0].cont, readCont(file, 0));
    EXPECT_EQ(tracks[0].disc, readDisc(file, 0));
}

TEST_F(ZflFileTest, MinorVersionOneHeaderWithoutMarkerFieldsIsRead) {
    const auto tracks = sampleTracks();
    writeRecording(path, tracks);
    Bytes bytes = readBytes(path);
    bytes.erase(bytes.begin() + 18, bytes.begin() + 26);
    store<uint32_t>(bytes, 4, 0x00010001);
    store<uint16_t>(bytes, 8, 18);
    replaceFile(path, bytes);

    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_EQ(0u, file.getNMarkers());
    ASSERT_EQ(2u, file.getNTracks());
    EXPECT_EQ(tracks[1].cont, readCont(file, 1));
    EXPECT_EQ(tracks[1].disc, readDisc(file, 1));
}

TEST_F(ZflFileTest, LargerFileHeaderIsSkippedExactly) {
    const auto tracks = sampleTracks();
    const auto markers = sampleMarkers();
    writeRecording(path, tracks, markers);
    Bytes bytes = readBytes(path);
    insertFill(bytes, 26, 14, 0x55);
    store<uint16_t>(bytes, 8, 40);
    store<uint32_t>(bytes, 4, 0x00010007);
    replaceFile(path, bytes);
    expectRecording(path, tracks, markers);
}

TEST_F(ZflFileTest, LargerTrackHeadersAreSkippedExactly) {
    const auto tracks = sampleTracks();
    const auto markers = sampleMarkers();
    writeRecording(path, tracks, markers);
    Bytes bytes = readBytes(path);
    const Layout layout = layoutOf(tracks, markers);
    // Later tracks first, so that the earlier offsets stay valid.
    insertFill(bytes, layout.trackData[1], 91, 0x66);
    store<uint16_t>(bytes, layout.trackHeader[1], 400);
    insertFill(bytes, layout.trackData[0], 11, 0x77);
    store<uint16_t>(bytes, layout.trackHeader[0], 320);
    store<uint32_t>(bytes, 10, layout.tracksSize + 102);
    replaceFile(path, bytes);
    expectRecording(path, tracks, markers);
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

TEST_F(ZflFileTest, DigestDoesNotDependOnHowRecordsAreHandedOver) {
    // Over 1024 bytes, so that the reader's check runs in several pieces.
    TrackData track = makeTrack(trackInfo("Chunks", 4, ContGroup::All, DiscGroup::All, 0, 0, 1), 40, 9, 77);
    writeRecording(path, {track});
    const std::string pieces = dir.file("pieces.zfl");
    ZflFile file;
    file.open(pieces, ZflFile::Write);
    file.addTrack(track.info);
    const uint32_t size = track.contSize();
    for (uint32_t i = 0, n = 1; i < track.nCont(); i += n, ++n) {
        n = std::min(n, track.nCont() - i);
        file.writeContData(n, track.cont.data() + std::size_t{i} * size);
    }
    file.writeDiscData(0, track.disc.data());
    file.writeDiscData(4, track.disc.data());
    file.writeDiscData(5, track.disc.data() + 4 * track.discSize());
    file.close();
    EXPECT_EQ(readBytes(path), readBytes(pieces));
    ZflFile in;
    in.open(pieces, ZflFile::Read);
    EXPECT_EQ(1, in.getTrackInfo(0).originalRecording);
}

struct FlipCase {
    const char* name;
    // Offset of the flipped byte within the file, given the file's layout and its tracks.
    std::function<std::size_t(const Layout&, const std::vector<TrackData>&)> where;
};

void PrintTo(const FlipCase& c, std::ostream* os) { *os << c.name; }

class ZflFileDigestFlipTest : public ZflFileTest, public ::testing::WithParamInterface<FlipCase> {};

TEST_P(ZflFileDigestFlipTest, SingleChangedByteClearsOriginalRecordingOfThatTrackOnly) {
    TrackData own = makeTrack(trackInfo("Own", 2, ContGroup::All, DiscGroup::All, 0, 0, 1), 20, 7, 5);
    TrackData second = makeTrack(trackInfo("Also own", 1, ContGroup::Throttles, DiscGroup::Gear, 0, 0, 1), 3, 2, 6);
    const std::vector<TrackData> tracks = {own, second};
    writeRecording(path, tracks, sampleMarkers());
    Bytes bytes = readBytes(path);
    const std::size_t at = GetParam().where(layoutOf(tracks, sampleMarkers()), tracks);
    bytes[at] ^= 0x01;
    replaceFile(path, bytes);

    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_EQ(0, file.getTrackInfo(0).originalRecording);
    EXPECT_EQ(1, file.getTrackInfo(1).originalRecording);
    // The data itself stays readable.
    EXPECT_EQ(second.cont, readCont(file, 1));
    EXPECT_EQ(3u, file.getNMarkers());
}

INSTANTIATE_TEST_SUITE_P(
    Flips, ZflFileDigestFlipTest,
    ::testing::Values(
        FlipCase{"FirstDataByte", [](const Layout& l, const auto&) { return l.trackData[0]; }},
        FlipCase{"LastContinuousByte",
                 [](const Layout& l, const auto& tr) { return l.trackData[0] + tr[0].cont.size() - 1; }},
        FlipCase{"FirstDiscreteByte", [](const Layout& l, const auto& tr) { return l.trackData[0] + tr[0].cont.size(); }},
        FlipCase{"PastTheFirstKilobyte", [](const Layout& l, const auto&) { return l.trackData[0] + 1500; }},
        FlipCase{"LastDataByte",
                 [](const Layout& l, const auto& tr) {
                     return l.trackData[0] + tr[0].cont.size() + tr[0].disc.size() - 1;
                 }},
        FlipCase{"StoredDigest",
                 [](const Layout& l, const auto&) { return l.trackHeader[0] + offsetof(Zfl::TrackHeader, trackDigest); }}),
    caseName<FlipCase>);

TEST_F(ZflFileTest, DigestCoversTheDataNotTheHeader) {
    const auto tracks = sampleTracks();
    writeRecording(path, tracks);
    Bytes bytes = readBytes(path);
    const std::size_t header = layoutOf(tracks).trackHeader[0];
    bytes[header + offsetof(Zfl::TrackHeader, title)] = 'X';
    replaceFile(path, bytes);
    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_EQ('X', file.getTrackInfo(0).title[0]);
    EXPECT_EQ(1, file.getTrackInfo(0).originalRecording);
}

// ---- time getters ----

TEST_F(ZflFileTest, TimeGettersReportFirstAndLastTimestampsOfEachKind) {
    const std::vector<TrackData> tracks = {
        makeTrack(trackInfo("Both", 2, ContGroup::Throttles, DiscGroup::Gear, 100, 20), 5, 3, 1),
        makeTrack(trackInfo("Continuous only", 0, 0, 0), 3, 0, 2),
        makeTrack(trackInfo("Discrete only", 0, 0, DiscGroup::Lights), 0, 2, 3),
        makeTrack(trackInfo("One each", 0, 0, 0), 1, 1, 4)};
    writeRecording(path, tracks);
    ZflFile file;
    file.open(path, ZflFile::Read);
    struct Expected {
        uint32_t contStart, contEnd, discStart, discEnd;
    };
    // Continuous records start at 10000 in steps of 1000, discrete ones at 15000 in steps of 3000.
    const Expected expected[] = {
        {10000, 14000, 15000, 21000}, {10000, 12000, 0, 0}, {0, 0, 15000, 18000}, {10000, 10000, 15000, 15000}};
    for (uint32_t t = 0; t < 4; ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        EXPECT_EQ(expected[t].contStart, file.getStartTime(t));
        EXPECT_EQ(expected[t].contEnd, file.getEndTime(t));
        uint32_t cs = 1, ce = 1, ds = 1, de = 1;
        file.getTimeRanges(t, cs, ce, ds, de);
        EXPECT_EQ(expected[t].contStart, cs);
        EXPECT_EQ(expected[t].contEnd, ce);
        EXPECT_EQ(expected[t].discStart, ds);
        EXPECT_EQ(expected[t].discEnd, de);
    }
}

// ---- destruction of an open file ----

class ZflFileLogTest : public ZflFileTest {
protected:
    void SetUp() override {
        savedFolder = std::filesystem::path(Log::filePath()).parent_path().string();
        savedFlags = Log::logFlags();
        Log::closeLog();
        Log::setFolder(dir.path().string());
        Log::setLogFlags(1);
    }
    void TearDown() override {
        Log::closeLog();
        Log::setFolder(savedFolder);
        Log::setLogFlags(savedFlags);
    }
    std::string logText() {
        Log::closeLog();
        const Bytes bytes = readBytes(dir.file("Zephrel.log"));
        return {bytes.begin(), bytes.end()};
    }
    static std::size_t count(const std::string& text, const std::string& line) {
        std::size_t n = 0;
        for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++n;
        return n;
    }

    std::string savedFolder;
    uint32_t savedFlags = 1;
};

TEST_F(ZflFileLogTest, DestroyingAnOpenWriterWarnsAndLeavesACompleteFile) {
    const auto tracks = sampleTracks();
    const auto markers = sampleMarkers();
    {
        ZflFile file;
        file.open(path, ZflFile::Write);
        for (const TrackData& t : tracks) {
            file.addTrack(t.info);
            file.writeContData(t.nCont(), t.cont.data());
            file.writeDiscData(t.nDisc(), t.disc.data());
        }
        for (const Marker& m : markers)
            file.addMarker(m);
    }
    EXPECT_EQ(1u, count(logText(), "Warning: ZflFile not closed before destruction\n"));
    expectRecording(path, tracks, markers);
}

TEST_F(ZflFileLogTest, DestroyingAnOpenReaderWarnsButAClosedOneDoesNot) {
    writeRecording(path, sampleTracks());
    {
        ZflFile open;
        open.open(path, ZflFile::Read);
        ZflFile closed;
        closed.open(path, ZflFile::Read);
        closed.close();
    }
    EXPECT_EQ(1u, count(logText(), "Warning: ZflFile not closed before destruction\n"));
}

} // namespace
