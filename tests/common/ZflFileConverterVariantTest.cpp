#include <gtest/gtest.h>

#include "Packed.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "ZephrelException.h"
#include "ZflFile.h"
#include "ZflFormat.h"
#include "ZflTestFiles.h"

using namespace zfltest;

namespace {

std::vector<TrackData> sampleTracks() {
    return {makeTrack(trackInfo("Original", 1, ContGroup::Throttles | ContGroup::Airspeeds,
                                DiscGroup::Flaps | DiscGroup::Gear, 0, 0, 1, "N12345", 1.5f),
                      9, 3, 31),
            makeTrack(trackInfo("Larger records", 4, ContGroup::All, DiscGroup::All, 200, 40, 1), 4, 2, 32)};
}

std::vector<Marker> sampleMarkers() {
    return {marker(100, Marker::DisplayText, Marker::kChapter, "Hello"), marker(200, Marker::SwitchCamera, 0, "")};
}

class ZflFileConverterTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("converted.zfl");
};

TEST_F(ZflFileConverterTest, WritesTheSameFormatAndReadsItBack) {
    const auto tracks = sampleTracks();
    const auto markers = sampleMarkers();
    writeRecording(path, tracks, markers);
    const Bytes bytes = readBytes(path);
    const Layout layout = layoutOf(tracks, markers);
    ASSERT_EQ(layout.size, bytes.size());
    const auto header = load<Zfl::FileHeader>(bytes, 0);
    EXPECT_EQ(0, std::memcmp(header.magic, "ZFL2", 4));
    EXPECT_EQ(0x00010003u, copyOf(header.version));
    EXPECT_EQ(26, copyOf(header.headerSize));
    EXPECT_EQ(copyOf(layout.tracksSize), copyOf(header.tracksSize));
    EXPECT_EQ(copyOf(layout.markersSize), copyOf(header.markersSize));
    EXPECT_EQ(2u, copyOf(header.nMarkers));
    EXPECT_EQ(309, copyOf(load<Zfl::TrackHeader>(bytes, layout.trackHeader[1]).headerSize));

    ZflFile file;
    file.open(path, ZflFile::Read);
    ASSERT_EQ(2u, file.getNTracks());
    for (uint32_t t = 0; t < 2; ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        const TrackInfo& info = file.getTrackInfo(t);
        EXPECT_STREQ(tracks[t].info.title, info.title);
        EXPECT_EQ(tracks[t].contSize(), copyOf(info.format.contRecordSize));
        EXPECT_EQ(tracks[t].discSize(), copyOf(info.format.discRecordSize));
        EXPECT_EQ(tracks[t].cont, readCont(file, t));
        EXPECT_EQ(tracks[t].disc, readDisc(file, t));
    }
    EXPECT_STREQ("N12345", file.getTrackInfo(0).tailNumber);
    ASSERT_EQ(2u, file.getNMarkers());
    EXPECT_EQ("Hello", file.readMarker(0).text);
    EXPECT_EQ(Marker::kChapter, copyOf(file.readMarker(0).flags));
    EXPECT_EQ(markers[1].cameraId, file.readMarker(1).cameraId);
}

TEST_F(ZflFileConverterTest, WritesNoDigestEvenForOriginalRecordings) {
    const auto tracks = sampleTracks();
    writeRecording(path, tracks);
    const Bytes bytes = readBytes(path);
    const Layout layout = layoutOf(tracks);
    for (std::size_t t = 0; t < 2; ++t)
        EXPECT_EQ(0u, copyOf(load<Zfl::TrackHeader>(bytes, layout.trackHeader[t]).trackDigest)) << "track " << t;
    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_EQ(0, file.getTrackInfo(0).originalRecording);
    EXPECT_EQ(0, file.getTrackInfo(1).originalRecording);
}

TEST_F(ZflFileConverterTest, NeverMarksATrackAsOriginalEvenIfItCarriesADigest) {
    const auto tracks = sampleTracks();
    const auto markers = sampleMarkers();
    writeRecording(path, tracks, markers);
    Bytes bytes = readBytes(path);
    const Layout layout = layoutOf(tracks, markers);
    store<uint64_t>(bytes, layout.trackHeader[0] + offsetof(Zfl::TrackHeader, trackDigest), 0x0123456789abcdefULL);
    store<uint64_t>(bytes, layout.trackHeader[1] + offsetof(Zfl::TrackHeader, trackDigest), 1);
    replaceFile(path, bytes);

    ZflFile file;
    file.open(path, ZflFile::Read);
    ASSERT_EQ(2u, file.getNTracks());
    EXPECT_EQ(0, file.getTrackInfo(0).originalRecording);
    EXPECT_EQ(0, file.getTrackInfo(1).originalRecording);
    // The digested tracks' data is passed over all the same: what follows reads correctly.
    EXPECT_EQ(tracks[1].cont, readCont(file, 1));
    EXPECT_EQ(tracks[1].disc, readDisc(file, 1));
    EXPECT_EQ("Hello", file.readMarker(0).text);
}

TEST_F(ZflFileConverterTest, OneRecordAtATimeWritesTheSameFileAsAllAtOnce) {
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

TEST_F(ZflFileConverterTest, EmptyTrackLeavesNoTrace) {
    const auto tracks = sampleTracks();
    ZflFile file;
    file.open(path, ZflFile::Write);
    file.addTrack(tracks[1].info);
    file.addTrack(tracks[0].info);
    file.writeContData(tracks[0].nCont(), tracks[0].cont.data());
    file.addTrack(tracks[1].info);
    file.addMarker(sampleMarkers()[0]);
    file.close();
    EXPECT_EQ(26u + 309u + tracks[0].cont.size() + 2u + 18u, std::filesystem::file_size(path));
    ZflFile in;
    in.open(path, ZflFile::Read);
    ASSERT_EQ(1u, in.getNTracks());
    EXPECT_EQ(tracks[0].cont, readCont(in, 0));
    EXPECT_EQ("Hello", in.readMarker(0).text);
}

TEST_F(ZflFileConverterTest, MisuseIsRefusedWithItsDetail) {
    ZflFile file;
    auto closed = thrown([&] { file.getNTracks(); });
    ASSERT_TRUE(closed.has_value());
    EXPECT_EQ(16u, closed->code);
    EXPECT_EQ(2u, closed->severity);
    EXPECT_EQ(0u, closed->logText.rfind("Error: File not opened [ZflFile::getNTracks, line ", 0)) << closed->logText;

    const auto tracks = sampleTracks();
    file.open(path, ZflFile::Write);
    file.addTrack(tracks[0].info);
    file.writeDiscData(tracks[0].disc.data());
    auto afterDisc = thrown([&] { file.writeContData(tracks[0].cont.data()); });
    ASSERT_TRUE(afterDisc.has_value());
    EXPECT_EQ(0u, afterDisc->logText.rfind("Error: Call after discrete data was written [ZflFile::writeContData, line ", 0))
        << afterDisc->logText;
    auto inWriteMode = thrown([&] { file.readMarker(0); });
    ASSERT_TRUE(inWriteMode.has_value());
    EXPECT_EQ(0u, inWriteMode->logText.rfind("Error: Call in write mode [ZflFile::readMarker, line ", 0))
        << inWriteMode->logText;
}

struct Damage {
    const char* name;
    std::size_t offset;
    uint32_t value;
    uint32_t code;
};

void PrintTo(const Damage& c, std::ostream* os) { *os << c.name; }

class ZflFileConverterDamageTest : public ZflFileConverterTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(ZflFileConverterDamageTest, DamagedFileIsRefusedAtOpen) {
    writeRecording(path, sampleTracks());
    Bytes bytes = readBytes(path);
    store<uint32_t>(bytes, GetParam().offset, GetParam().value);
    replaceFile(path, bytes);
    ZflFile file;
    auto e = thrown([&] { file.open(path, ZflFile::Read); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(GetParam().code, e->code);
    EXPECT_EQ(2u, e->severity);
    EXPECT_EQ("The file '" + path + "' is damaged or uses an unsupported format!", e->userText);
    EXPECT_FALSE(file.isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Damages, ZflFileConverterDamageTest,
    ::testing::Values(Damage{"BadMagic", 0, 0x314c465a, 11}, Damage{"MajorVersionTwo", 4, 0x00020003, 11},
                      Damage{"TrackCountTheFileCannotHold", 14, 1000, 11},
                      Damage{"DataSizeTooSmall", 26 + offsetof(Zfl::TrackHeader, dataSize), 10, 11},
                      Damage{"RecordSizeTooSmall",
                             26 + offsetof(Zfl::TrackHeader, format) + offsetof(DataFormat, contRecordSize), 64, 11}),
    caseName<Damage>);

TEST_F(ZflFileConverterTest, ShortFileHeaderIsAReadFailure) {
    replaceFile(path, Bytes{'Z', 'F', 'L', '2', 3, 0, 1, 0, 26});
    ZflFile file;
    auto e = thrown([&] { file.open(path, ZflFile::Read); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(9u, e->code);
    EXPECT_EQ("Reading from file '" + path + "' failed!", e->userText);
}

// ---- the converter's exception ----

TEST(ZephrelExceptionConverterTest, ConstructorTakesNoSeverityAndAlwaysStops) {
    ZephrelException rename(12, "Converter::convert", 42, "a.zfl", "b.zfl");
    EXPECT_EQ(12u, rename.code);
    EXPECT_EQ(2u, rename.severity);
    EXPECT_EQ("Converter::convert", rename.function);
    EXPECT_EQ(42u, rename.line);
    EXPECT_EQ("The file 'a.zfl' could not be renamed to 'b.zfl'!", rename.userText);
    EXPECT_EQ("Error: Failed to rename file 'a.zfl' to 'b.zfl' [Converter::convert, line 42]", rename.logText);

    ZephrelException withoutDetails(3, "Converter::aircraft", 7);
    EXPECT_EQ(2u, withoutDetails.severity);
    EXPECT_EQ("Error: Invalid aircraft ID [Converter::aircraft, line 7]", withoutDetails.logText);
}

TEST_F(ZflFileConverterTest, MissingFileFailsWithStoppingSeverity) {
    ZflFile file;
    auto e = thrown([&] { file.open(dir.file("missing.zfl"), ZflFile::Read); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(8u, e->code);
    EXPECT_EQ(2u, e->severity);
    EXPECT_EQ("File " + dir.file("missing.zfl") + " could not be opened!", e->userText);
    EXPECT_EQ(0u, e->logText.rfind("Error: File " + dir.file("missing.zfl") + " could not be opened [ZflFile::open, line ", 0))
        << e->logText;
}

} // namespace
