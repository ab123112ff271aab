#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/ZflTestFiles.h"

using namespace zfltest;

namespace {

// The file every corruption starts from: a digested track whose records are 64 bytes (so that
// record counts can be made to wrap in 32 bits), a twin with record sizes larger than its groups
// need, and three markers, the last a camera switch that ends the file with its camera id.
std::vector<TrackData> baseTracks() {
    return {makeTrack(trackInfo("Glider", 0, 0, DiscGroup::Flaps | DiscGroup::Gear, 64, 0, 1), 10, 3, 11),
            makeTrack(trackInfo("Twin", 2, ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Airspeeds,
                                DiscGroup::All, 90, 0),
                      4, 2, 12)};
}

std::vector<Marker> baseMarkers() {
    return {marker(1000, Marker::DisplayText, 0, "hello"), marker(2000, Marker::Pause, 0, ""),
            marker(3000, Marker::SwitchCamera, Marker::kChapter, "cam")};
}

// Where the damage is reported: opening, reading everything in order, or reading the last marker
// first (which passes over the others by their length fields alone).
enum Stage { Open, Read, ReadLast };

using Where = std::function<std::size_t(const Layout&)>;
using Mutation = std::function<void(Bytes&, const Layout&)>;

// What a corrupted file gives: a read that finds the file shorter than its headers say, or
// contents that cannot be a recording.
constexpr ErrorCode kCut = ErrorCode::FileReadFailed;
constexpr ErrorCode kDamaged = ErrorCode::InvalidFile;

struct Corruption {
    const char* name;
    Mutation mutate;
    Stage stage;
    ErrorCode code;
};

// A place in the file, worked out from its layout l.
#define AT(offset) []([[maybe_unused]] const Layout& l) -> std::size_t { return offset; }

Mutation cut(Where where) {
    return [where](Bytes& b, const Layout& l) { b.resize(where(l)); };
}
template <typename T> Mutation set(Where where, T value) {
    return [where, value](Bytes& b, const Layout& l) { store<T>(b, where(l), value); };
}
Mutation add32(Where where, uint32_t delta) {
    return [where, delta](Bytes& b, const Layout& l) { store<uint32_t>(b, where(l), load<uint32_t>(b, where(l)) + delta); };
}
Mutation both(Mutation first, Mutation second) {
    return [first, second](Bytes& b, const Layout& l) { first(b, l), second(b, l); };
}

constexpr std::size_t kVersion = offsetof(Zfl::FileHeader, version);
constexpr std::size_t kHeaderSize = offsetof(Zfl::FileHeader, headerSize);
constexpr std::size_t kNTracks = offsetof(Zfl::FileHeader, nTracks);
constexpr std::size_t kNMarkers = offsetof(Zfl::FileHeader, nMarkers);
constexpr std::size_t kTrackHeaderSize = offsetof(Zfl::TrackHeader, headerSize);
constexpr std::size_t kDataSize = offsetof(Zfl::TrackHeader, dataSize);
constexpr std::size_t kFormat = offsetof(Zfl::TrackHeader, format);
constexpr std::size_t kContFlags = kFormat + offsetof(DataFormat, ContFlags);
constexpr std::size_t kContSize = kFormat + offsetof(DataFormat, contRecordSize);
constexpr std::size_t kDiscSize = kFormat + offsetof(DataFormat, discRecordSize);
constexpr std::size_t kNCont = offsetof(Zfl::TrackHeader, nCont);
constexpr std::size_t kNDisc = offsetof(Zfl::TrackHeader, nDisc);
constexpr uint32_t kTwinCont = ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Airspeeds;

// A short header read is a read failure; a file too short for what its headers promise, or
// headers that contradict each other, are damage.
const Corruption kCorruptions[] = {
    {"EmptyFile", cut(AT(0)), Open, kCut},
    {"NineBytes", cut(AT(9)), Open, kCut},
    {"TenBytes", cut(AT(10)), Open, kCut},
    {"FileHeaderOneByteShort", cut(AT(25)), Open, kCut},
    {"OnlyTheFileHeader", cut(AT(26)), Open, kDamaged},
    {"InsideFirstTrackHeader", cut(AT(l.trackHeader[0] + 150)), Open, kDamaged},
    {"InsideFirstTrackData", cut(AT(l.trackData[0] + 100)), Open, kDamaged},
    {"LastByteOfFirstTrackMissing", cut(AT(l.trackHeader[1] - 1)), Open, kDamaged},
    {"SecondTrackHeaderOneByte", cut(AT(l.trackHeader[1] + 1)), Open, kCut},
    {"InsideSecondTrackHeader", cut(AT(l.trackHeader[1] + 200)), Open, kCut},
    {"SecondTrackHeaderOneByteShort", cut(AT(l.trackData[1] - 1)), Open, kCut},
    {"InsideSecondTrackData", cut(AT(l.trackData[1] + 10)), Open, kDamaged},
    // Markers the rest of the file has no room for are damage found at opening; a marker cut
    // later on is found when it is read.
    {"AllMarkersMissing", cut(AT(l.markers)), Open, kDamaged},
    {"InsideFirstMarker", cut(AT(l.marker[0] + 7)), Open, kDamaged},
    {"FirstMarkerLengthOnly", cut(AT(l.marker[0] + 2)), Open, kDamaged},
    {"SecondMarkerMissing", cut(AT(l.marker[1])), Open, kDamaged},
    {"LastByteOfCameraIdMissing", cut(AT(l.size - 1)), Read, kCut},

    {"MagicOfAnotherFormat", set<uint32_t>(AT(0), 0x314c465a), Open, kDamaged},
    {"MagicInLowerCase", set<uint32_t>(AT(0), 0x326c667a), Open, kDamaged},
    {"MajorVersionTwo", set<uint32_t>(AT(kVersion), 0x00020003), Open, kDamaged},
    {"MajorVersionZero", set<uint32_t>(AT(kVersion), 0x00000003), Open, kDamaged},
    {"OldVersionNumberInPlaceOfTheMagic", set<uint32_t>(AT(0), 0x01000006), Open, kDamaged},
    {"FileHeaderSizeBelowItsFields", set<uint16_t>(AT(kHeaderSize), 25), Open, kDamaged},
    {"FileHeaderSizeZero", set<uint16_t>(AT(kHeaderSize), 0), Open, kDamaged},
    {"MinorVersionOneHeaderBelowItsFields",
     both(set<uint32_t>(AT(kVersion), 0x00010001), set<uint16_t>(AT(kHeaderSize), 17)), Open, kDamaged},
    // A 1.3 header cut to the 18 bytes of 1.1: its marker fields would be read from the track header.
    {"FileHeaderTooShortForItsMinorVersion",
     both([](Bytes& b, const Layout&) { b.erase(b.begin() + 18, b.begin() + 26); },
          set<uint16_t>(AT(kHeaderSize), 18)),
     Open, kDamaged},
    {"FileHeaderSizeBeyondTheFile", set<uint16_t>(AT(kHeaderSize), 0xffff), Open, kDamaged},
    {"HugeTrackCountIn40ByteFile", both(cut(AT(40)), set<uint32_t>(AT(kNTracks), 0xffffffffu)), Open, kDamaged},
    {"HugeTrackCount", set<uint32_t>(AT(kNTracks), 0x10000000), Open, kDamaged},
    // The third "track header" is the markers part; its first field is far below a header's size.
    {"OneTrackMoreThanStored", set<uint32_t>(AT(kNTracks), 3), Open, kDamaged},

    // On the last track, so that a header one byte short would shift only what follows the tracks.
    {"TrackHeaderSizeOneBelow", set<uint16_t>(AT(l.trackHeader[1] + kTrackHeaderSize), 308), Open, kDamaged},
    {"TrackHeaderSizeZero", set<uint16_t>(AT(l.trackHeader[1] + kTrackHeaderSize), 0), Open, kDamaged},
    {"TrackHeaderSizeBeyondTheFile", set<uint16_t>(AT(l.trackHeader[1] + kTrackHeaderSize), 0xffff), Open, kDamaged},
    {"ContinuousRecordSizeBelowTheFixedFields", set<uint32_t>(AT(l.trackHeader[0] + kContSize), 63), Open, kDamaged},
    {"DiscreteRecordSizeBelowItsGroups", set<uint32_t>(AT(l.trackHeader[1] + kDiscSize), 36), Open, kDamaged},
    {"GroupAddedThatTheRecordSizeCannotHold",
     set<uint32_t>(AT(l.trackHeader[1] + kContFlags), kTwinCont | ContGroup::ExtendedGear), Open, kDamaged},
    {"DataSizeOneBelowTheRecords", add32(AT(l.trackHeader[0] + kDataSize), 0xffffffffu), Open, kDamaged},
    {"DataSizeBeyondTheFile", add32(AT(l.trackHeader[1] + kDataSize), 1000), Open, kDamaged},
    {"DataSizeHuge", set<uint32_t>(AT(l.trackHeader[0] + kDataSize), 0xffffffffu), Open, kDamaged},
    // 2^26 more records of 64 bytes are exactly 2^32 bytes more: only a 64-bit product sees them.
    {"ContinuousCountThatWrapsIn32Bits", add32(AT(l.trackHeader[0] + kNCont), 1u << 26), Open, kDamaged},
    {"DiscreteCountHuge", set<uint32_t>(AT(l.trackHeader[1] + kNDisc), 0x80000000u), Open, kDamaged},

    {"MarkerLengthBelowItsFixedFields", set<uint16_t>(AT(l.marker[0]), 12), Read, kDamaged},
    {"MarkerLengthZero", set<uint16_t>(AT(l.marker[1]), 0), Read, kDamaged},
    {"MarkerLengthShorterThanItsText", set<uint16_t>(AT(l.marker[0]), 17), Read, kDamaged},
    {"CameraMarkerLengthWithoutTheCameraId", set<uint16_t>(AT(l.marker[2]), 16), Read, kDamaged},
    {"MarkerTurnedIntoACameraSwitchWithoutCameraId",
     set<uint32_t>(AT(l.marker[1] + offsetof(Zfl::MarkerHead, type)), Marker::SwitchCamera), Read, kDamaged},
    {"MarkerTextBeyondTheFile",
     both(set<uint16_t>(AT(l.marker[2]), 13 + 255 + 16), set<uint8_t>(AT(l.marker[2] + offsetof(Zfl::MarkerHead, textLength)), 255)),
     Read, kCut},
    {"MarkerLengthBeyondTheFile", set<uint16_t>(AT(l.marker[0]), 0xffff), Read, kCut},
    {"OneMarkerMoreThanStored", set<uint32_t>(AT(kNMarkers), 4), Read, kCut},
    {"HugeMarkerCount", set<uint32_t>(AT(kNMarkers), 0xffffffffu), Open, kDamaged},
    {"ContinuousRecordSizeHugeWithoutRecords",
     both(set<uint32_t>(AT(l.trackHeader[1] + kNCont), 0), set<uint32_t>(AT(l.trackHeader[1] + kContSize), 0x7fffffff)),
     Open, kDamaged},
    {"PassedOverMarkerLengthZero", set<uint16_t>(AT(l.marker[0]), 0), ReadLast, kDamaged},
    {"PassedOverMarkerLengthOne", set<uint16_t>(AT(l.marker[0]), 1), ReadLast, kDamaged},
    {"PassedOverMarkerLengthBelowItsFixedFields", set<uint16_t>(AT(l.marker[0]), 12), ReadLast, kDamaged},
};

void PrintTo(const Corruption& c, std::ostream* os) { *os << c.name; }

class ZflFileCorruptionTest : public TempFileTest {
protected:
    void SetUp() override {
        writeRecording(path, baseTracks(), baseMarkers());
        original = readBytes(path);
        layout = layoutOf(baseTracks(), baseMarkers());
        ASSERT_EQ(layout.size, original.size());
    }

    Bytes original;
    Layout layout;
};

class ZflFileCorruptionListTest : public ZflFileCorruptionTest, public ::testing::WithParamInterface<Corruption> {};

TEST_P(ZflFileCorruptionListTest, DamageIsReportedWithItsCodeAndThePath) {
    const Corruption& c = GetParam();
    Bytes bytes = original;
    c.mutate(bytes, layout);
    writeBytes(path, bytes);

    ZflFile file;
    auto e = thrown([&] { file.open(path, ZflFile::Read); });
    if (c.stage == Open) {
        EXPECT_FALSE(file.isOpen());
        return expectFileError(e, c.code, path, "ZflFile::open");
    }
    ASSERT_FALSE(e.has_value()) << e->logText;
    e = thrown([&] { c.stage == Read ? readEverything(file) : (void)file.readMarker(file.getNMarkers() - 1); });
    expectFileError(e, c.code, path, "ZflFile::readMarker");
}

INSTANTIATE_TEST_SUITE_P(List, ZflFileCorruptionListTest, ::testing::ValuesIn(kCorruptions), caseName<Corruption>);

TEST_F(ZflFileCorruptionTest, UndamagedFileReadsCleanly) {
    Opened file(path);
    EXPECT_NO_THROW(readEverything(file));
    EXPECT_EQ(1, file.getTrackInfo(0).originalRecording);
}

// Every byte of the file is needed by something the reader checks or reads, so every shorter
// prefix must fail; random damage anywhere in the headers and markers may be harmless (or land in
// data), or be reported. Either way the reader fails as a file error and never in another way.
TEST_F(ZflFileCorruptionTest, TruncationsFailAndRandomDamageIsReadOrReportedAsAFileError) {
    auto reported = [&](const Bytes& bytes) {
        writeBytes(path, bytes);
        ZflFile file;
        try {
            file.open(path, ZflFile::Read);
            readEverything(file);
            return false;
        } catch (const ZephrelException& e) {
            EXPECT_TRUE(e.code == ErrorCode::FileReadFailed || e.code == ErrorCode::InvalidFile) << e.logText;
            return true;
        }
    };
    for (std::size_t size = 0; size < original.size(); ++size)
        EXPECT_TRUE(reported(Bytes(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(size))))
            << "a file of " << size << " bytes read cleanly";
    std::vector<std::size_t> headerBytes;
    for (std::size_t i = 0; i < layout.size; ++i)
        if (i < 26 || i >= layout.markers || (i >= layout.trackHeader[0] && i < layout.trackData[0]) ||
            (i >= layout.trackHeader[1] && i < layout.trackData[1]))
            headerBytes.push_back(i);
    std::mt19937 random(20110815);
    int damaged = 0;
    for (int round = 0; round < 1500; ++round) {
        Bytes bytes = original;
        for (auto k = 0u, changes = 1 + static_cast<uint32_t>(random() % 3); k < changes; ++k)
            bytes[headerBytes[random() % headerBytes.size()]] =
                random() % 4 == 0 ? 0xff : static_cast<unsigned char>(random());
        damaged += reported(bytes);
    }
    // Most damage to sizes, counts and lengths shows; a reader that reports nothing checks nothing.
    EXPECT_GT(damaged, 200);
}

// A file that loses its end while it is open: the record and marker reads come back short. The
// second track is long enough that what is read lies well beyond what the stream has buffered.
TEST_F(ZflFileCorruptionTest, ShortReadAfterOpeningIsAReadFailure) {
    static Bytes scratch(300000);
    static uint32_t t0, t1, t2, t3;
    const struct {
        const char* function;
        std::function<void(ZflFile&)> read;
    } cases[] = {
        {"ZflFile::readContData", [](ZflFile& f) { f.readContData(1, 0, 3000, scratch.data()); }},
        {"ZflFile::readDiscData", [](ZflFile& f) { f.readDiscData(1, 0, 2, scratch.data()); }},
        {"ZflFile::readContData", [](ZflFile& f) { f.readContData(1, 2999, 1, scratch.data()); }},
        {"ZflFile::getEndTime", [](ZflFile& f) { f.getEndTime(1); }},
        {"ZflFile::getTimeRanges", [](ZflFile& f) { f.getTimeRanges(1, t0, t1, t2, t3); }},
        {"ZflFile::readMarker", [](ZflFile& f) { f.readMarker(0); }},
    };
    const std::vector<TrackData> tracks = {baseTracks()[0], makeTrack(baseTracks()[1].info, 3000, 2, 13)};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.function);
        writeRecording(path, tracks, baseMarkers());
        Opened file(path);
        // Reading the start of the file first leaves the stream's buffer there, far from what is cut.
        EXPECT_EQ(tracks[0].cont, readCont(file, 0));
        std::filesystem::resize_file(path, layoutOf(tracks).trackData[1] + 150000);
        expectFileError(thrown([&] { c.read(file); }), ErrorCode::FileReadFailed, path, c.function);
        // What is still there still reads.
        EXPECT_EQ(tracks[0].cont, readCont(file, 0));
    }
}

} // namespace
