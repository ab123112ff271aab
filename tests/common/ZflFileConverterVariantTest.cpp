// The converter's copy of the recording-file layer: the same format, but no digests, no log and
// an exception without a severity to choose.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZephrelException.h"
#include "ZflTestFiles.h"

using namespace zfltest;

namespace {

// Both tracks ask for a digest, which this variant never writes; an empty track between them.
std::vector<TrackData> sampleTracks() {
    return {makeTrack(trackInfo("Original", 1, ContGroup::Throttles | ContGroup::Airspeeds,
                                DiscGroup::Flaps | DiscGroup::Gear, 0, 0, 1, "N12345", 1.5f),
                      9, 3, 31),
            makeTrack(trackInfo("Empty", 1, 0, 0, 0, 0, 1), 0, 0, 0),
            makeTrack(trackInfo("Larger records", 4, ContGroup::All, DiscGroup::All, 200, 40, 1), 4, 2, 32)};
}

std::vector<Marker> sampleMarkers() {
    return {marker(100, Marker::DisplayText, Marker::kChapter, "Hello"), marker(200, Marker::SwitchCamera, 0, "")};
}

// What the reader finds: the tracks as written, none of them an original recording.
std::vector<TrackData> withoutDigests(std::vector<TrackData> tracks) {
    for (TrackData& t : tracks)
        t.info.originalRecording = 0;
    return tracks;
}

using ZflFileConverterTest = TempFileTest;

TEST_F(ZflFileConverterTest, WritesTheSameFormatWithoutDigestsAndReadsItBack) {
    writeRecording(path, sampleTracks(), sampleMarkers());
    expectFileBytes(path, withoutDigests(sampleTracks()), sampleMarkers());
    expectRecording(path, withoutDigests(sampleTracks()), sampleMarkers());
}

TEST_F(ZflFileConverterTest, PassesOverDigestsItFindsWithoutMarkingTracksAsOriginal) {
    const auto tracks = withoutDigests(sampleTracks());
    writeRecording(path, tracks, sampleMarkers());
    Bytes bytes = readBytes(path);
    const Layout layout = layoutOf(tracks, sampleMarkers());
    store<uint64_t>(bytes, layout.trackHeader[0] + offsetof(Zfl::TrackHeader, trackDigest), 0x0123456789abcdefULL);
    store<uint64_t>(bytes, layout.trackHeader[1] + offsetof(Zfl::TrackHeader, trackDigest), 1);
    writeBytes(path, bytes);
    expectRecording(path, tracks, sampleMarkers());
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

TEST_F(ZflFileConverterTest, FailuresStopWithTheirTextsAndDetails) {
    ZflFile file;
    expectMisuse(thrown([&] { file.getNTracks(); }), "ZflFile::getNTracks", "File not opened");
    expectFileError(thrown([&] { file.open(path, ZflFile::Read); }), 8, path, "ZflFile::open");
    writeRecording(path, sampleTracks());
    Bytes bytes = readBytes(path);
    store<uint32_t>(bytes, 26 + offsetof(Zfl::TrackHeader, dataSize), 10);
    writeBytes(path, bytes);
    expectFileError(thrown([&] { file.open(path, ZflFile::Read); }), 11, path);
    EXPECT_FALSE(file.isOpen());
    file.open(path, ZflFile::Write);
    file.addTrack(sampleTracks()[0].info);
    file.writeDiscData(sampleTracks()[0].disc.data());
    expectMisuse(thrown([&] { file.writeContData(sampleTracks()[0].cont.data()); }), "ZflFile::writeContData",
                 "Call after discrete data was written");
}

TEST(ZephrelExceptionConverterTest, ConstructorTakesNoSeverityAndAlwaysStops) {
    ZephrelException rename(12, "Converter::convert", 42, "a.zfl", "b.zfl");
    EXPECT_EQ(12u, rename.code);
    EXPECT_EQ(2u, rename.severity);
    EXPECT_EQ("Converter::convert", rename.function);
    EXPECT_EQ(42u, rename.line);
    EXPECT_EQ("The file 'a.zfl' could not be renamed to 'b.zfl'!", rename.userText);
    EXPECT_EQ("Error: Failed to rename file 'a.zfl' to 'b.zfl' [Converter::convert, line 42]", rename.logText);
    EXPECT_EQ("Error: Invalid aircraft ID [Converter::aircraft, line 7]",
              ZephrelException(3, "Converter::aircraft", 7).logText);
}

} // namespace
