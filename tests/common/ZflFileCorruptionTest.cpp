#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "TempDir.h"
#include "ZephrelException.h"
#include "ZflFile.h"
#include "ZflFormat.h"
#include "ZflTestFiles.h"

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

enum class Stage { Open, Read };

struct Corruption {
    const char* name;
    std::function<void(Bytes&, const Layout&)> mutate;
    Stage stage;
    uint32_t code;
    const char* function; // the operation that reports it
};

std::function<void(Bytes&, const Layout&)> truncateAt(std::function<std::size_t(const Layout&)> where) {
    return [where](Bytes& b, const Layout& l) { b.resize(where(l)); };
}

template <typename T>
std::function<void(Bytes&, const Layout&)> patch(std::function<std::size_t(const Layout&)> where, T value) {
    return [where, value](Bytes& b, const Layout& l) { store<T>(b, where(l), value); };
}

template <typename T> T fieldOf(const Bytes& b, std::size_t at) { return load<T>(b, at); }

std::size_t trackField(const Layout& l, std::size_t track, std::size_t field) { return l.trackHeader[track] + field; }

constexpr std::size_t kVersion = offsetof(Zfl::FileHeader, version);
constexpr std::size_t kHeaderSize = offsetof(Zfl::FileHeader, headerSize);
constexpr std::size_t kNTracks = offsetof(Zfl::FileHeader, nTracks);
constexpr std::size_t kNMarkers = offsetof(Zfl::FileHeader, nMarkers);
constexpr std::size_t kTrackHeaderSize = offsetof(Zfl::TrackHeader, headerSize);
constexpr std::size_t kDataSize = offsetof(Zfl::TrackHeader, dataSize);
constexpr std::size_t kContFlags = offsetof(Zfl::TrackHeader, format) + offsetof(DataFormat, ContFlags);
constexpr std::size_t kContSize = offsetof(Zfl::TrackHeader, format) + offsetof(DataFormat, contRecordSize);
constexpr std::size_t kDiscSize = offsetof(Zfl::TrackHeader, format) + offsetof(DataFormat, discRecordSize);
constexpr std::size_t kNCont = offsetof(Zfl::TrackHeader, nCont);
constexpr std::size_t kNDisc = offsetof(Zfl::TrackHeader, nDisc);
constexpr std::size_t kMarkerText = offsetof(Zfl::MarkerHead, textLength);
constexpr std::size_t kMarkerType = offsetof(Zfl::MarkerHead, type);

constexpr const char* kOpen = "ZflFile::open";
constexpr const char* kReadMarker = "ZflFile::readMarker";

const Corruption kCorruptions[] = {
    // Truncations: a short header read is a read failure; a file too short for what its headers
    // promise is damaged.
    {"EmptyFile", truncateAt([](const Layout&) { return 0u; }), Stage::Open, 9, kOpen},
    {"NineBytes", truncateAt([](const Layout&) { return 9u; }), Stage::Open, 9, kOpen},
    {"TenBytes", truncateAt([](const Layout&) { return 10u; }), Stage::Open, 9, kOpen},
    {"FileHeaderOneByteShort", truncateAt([](const Layout&) { return 25u; }), Stage::Open, 9, kOpen},
    {"OnlyTheFileHeader", truncateAt([](const Layout&) { return 26u; }), Stage::Open, 11, kOpen},
    {"InsideFirstTrackHeader", truncateAt([](const Layout& l) { return l.trackHeader[0] + 150; }), Stage::Open, 11,
     kOpen},
    {"InsideFirstTrackData", truncateAt([](const Layout& l) { return l.trackData[0] + 100; }), Stage::Open, 11,
     kOpen},
    {"LastByteOfFirstTrackMissing", truncateAt([](const Layout& l) { return l.trackHeader[1] - 1; }), Stage::Open,
     11, kOpen},
    {"SecondTrackHeaderOneByte", truncateAt([](const Layout& l) { return l.trackHeader[1] + 1; }), Stage::Open, 9,
     kOpen},
    {"InsideSecondTrackHeader", truncateAt([](const Layout& l) { return l.trackHeader[1] + 200; }), Stage::Open, 9,
     kOpen},
    {"SecondTrackHeaderOneByteShort", truncateAt([](const Layout& l) { return l.trackData[1] - 1; }), Stage::Open, 9,
     kOpen},
    {"InsideSecondTrackData", truncateAt([](const Layout& l) { return l.trackData[1] + 10; }), Stage::Open, 11,
     kOpen},
    {"AllMarkersMissing", truncateAt([](const Layout& l) { return l.markers; }), Stage::Read, 9, kReadMarker},
    {"InsideFirstMarker", truncateAt([](const Layout& l) { return l.marker[0] + 7; }), Stage::Read, 9, kReadMarker},
    {"FirstMarkerLengthOnly", truncateAt([](const Layout& l) { return l.marker[0] + 2; }), Stage::Read, 9,
     kReadMarker},
    {"SecondMarkerMissing", truncateAt([](const Layout& l) { return l.marker[1]; }), Stage::Read, 9, kReadMarker},
    {"LastByteOfCameraIdMissing", truncateAt([](const Layout& l) { return l.size - 1; }), Stage::Read, 9,
     kReadMarker},

    // File header.
    {"MagicOfAnotherFormat", patch<uint32_t>([](const Layout&) { return 0u; }, 0x314c465a), Stage::Open, 11, kOpen},
    {"MagicInLowerCase", patch<uint32_t>([](const Layout&) { return 0u; }, 0x326c667a), Stage::Open, 11, kOpen},
    {"MajorVersionTwo", patch<uint32_t>([](const Layout&) { return kVersion; }, 0x00020003), Stage::Open, 11, kOpen},
    {"MajorVersionZero", patch<uint32_t>([](const Layout&) { return kVersion; }, 0x00000003), Stage::Open, 11, kOpen},
    {"OldVersionNumberInPlaceOfTheMagic", patch<uint32_t>([](const Layout&) { return 0u; }, 0x01000006), Stage::Open,
     11, kOpen},
    {"FileHeaderSizeBelowItsFields", patch<uint16_t>([](const Layout&) { return kHeaderSize; }, 25), Stage::Open, 11,
     kOpen},
    {"FileHeaderSizeZero", patch<uint16_t>([](const Layout&) { return kHeaderSize; }, 0), Stage::Open, 11, kOpen},
    {"MinorVersionOneHeaderBelowItsFields",
     [](Bytes& b, const Layout&) {
         store<uint32_t>(b, kVersion, 0x00010001);
         store<uint16_t>(b, kHeaderSize, 17);
     },
     Stage::Open, 11, kOpen},
    // A 1.3 header cut to the 18 bytes of 1.1, with the tracks right after it: its marker fields
    // would be read from the first track header.
    {"FileHeaderTooShortForItsMinorVersion",
     [](Bytes& b, const Layout&) {
         b.erase(b.begin() + 18, b.begin() + 26);
         store<uint16_t>(b, kHeaderSize, 18);
     },
     Stage::Open, 11, kOpen},
    {"FileHeaderSizeBeyondTheFile", patch<uint16_t>([](const Layout&) { return kHeaderSize; }, 0xffff), Stage::Open,
     11, kOpen},
    {"HugeTrackCountIn40ByteFile",
     [](Bytes& b, const Layout&) {
         b.resize(40);
         store<uint32_t>(b, kNTracks, 0xffffffffu);
     },
     Stage::Open, 11, kOpen},
    {"HugeTrackCount", patch<uint32_t>([](const Layout&) { return kNTracks; }, 0x10000000), Stage::Open, 11, kOpen},
    // The third "track header" is the markers part; its first field is far below a header's size.
    {"OneTrackMoreThanStored", patch<uint32_t>([](const Layout&) { return kNTracks; }, 3), Stage::Open, 11, kOpen},

    // Track headers.
    {"TrackHeaderSizeOneBelow", patch<uint16_t>([](const Layout& l) { return trackField(l, 0, kTrackHeaderSize); }, 308),
     Stage::Open, 11, kOpen},
    {"TrackHeaderSizeZero", patch<uint16_t>([](const Layout& l) { return trackField(l, 1, kTrackHeaderSize); }, 0),
     Stage::Open, 11, kOpen},
    {"TrackHeaderSizeBeyondTheFile",
     patch<uint16_t>([](const Layout& l) { return trackField(l, 1, kTrackHeaderSize); }, 0xffff), Stage::Open, 11,
     kOpen},
    {"ContinuousRecordSizeBelowTheFixedFields",
     patch<uint32_t>([](const Layout& l) { return trackField(l, 0, kContSize); }, 63), Stage::Open, 11, kOpen},
    {"DiscreteRecordSizeBelowItsGroups",
     patch<uint32_t>([](const Layout& l) { return trackField(l, 1, kDiscSize); }, 36), Stage::Open, 11, kOpen},
    {"GroupAddedThatTheRecordSizeCannotHold",
     patch<uint32_t>([](const Layout& l) { return trackField(l, 1, kContFlags); },
                     ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Airspeeds |
                         ContGroup::ExtendedGear),
     Stage::Open, 11, kOpen},
    {"DataSizeOneBelowTheRecords",
     [](Bytes& b, const Layout& l) {
         const std::size_t at = trackField(l, 0, kDataSize);
         store<uint32_t>(b, at, fieldOf<uint32_t>(b, at) - 1);
     },
     Stage::Open, 11, kOpen},
    {"DataSizeBeyondTheFile",
     [](Bytes& b, const Layout& l) {
         const std::size_t at = trackField(l, 1, kDataSize);
         store<uint32_t>(b, at, fieldOf<uint32_t>(b, at) + 1000);
     },
     Stage::Open, 11, kOpen},
    {"DataSizeHuge", patch<uint32_t>([](const Layout& l) { return trackField(l, 0, kDataSize); }, 0xffffffffu),
     Stage::Open, 11, kOpen},
    // 2^26 more records of 64 bytes are exactly 2^32 bytes more: only a 64-bit product sees them.
    {"ContinuousCountThatWrapsIn32Bits",
     [](Bytes& b, const Layout& l) {
         const std::size_t at = trackField(l, 0, kNCont);
         store<uint32_t>(b, at, fieldOf<uint32_t>(b, at) + (1u << 26));
     },
     Stage::Open, 11, kOpen},
    {"DiscreteCountHuge", patch<uint32_t>([](const Layout& l) { return trackField(l, 1, kNDisc); }, 0x80000000u),
     Stage::Open, 11, kOpen},

    // Markers.
    {"MarkerLengthBelowItsFixedFields", patch<uint16_t>([](const Layout& l) { return l.marker[0]; }, 12), Stage::Read,
     11, kReadMarker},
    {"MarkerLengthZero", patch<uint16_t>([](const Layout& l) { return l.marker[1]; }, 0), Stage::Read, 11,
     kReadMarker},
    {"MarkerLengthShorterThanItsText", patch<uint16_t>([](const Layout& l) { return l.marker[0]; }, 17), Stage::Read,
     11, kReadMarker},
    {"CameraMarkerLengthWithoutTheCameraId", patch<uint16_t>([](const Layout& l) { return l.marker[2]; }, 16),
     Stage::Read, 11, kReadMarker},
    {"MarkerTurnedIntoACameraSwitchWithoutCameraId",
     patch<uint32_t>([](const Layout& l) { return l.marker[1] + kMarkerType; }, Marker::SwitchCamera), Stage::Read,
     11, kReadMarker},
    {"MarkerTextBeyondTheFile",
     [](Bytes& b, const Layout& l) {
         store<uint16_t>(b, l.marker[2], 13 + 255 + 16);
         store<uint8_t>(b, l.marker[2] + kMarkerText, 255);
     },
     Stage::Read, 9, kReadMarker},
    {"MarkerLengthBeyondTheFile", patch<uint16_t>([](const Layout& l) { return l.marker[0]; }, 0xffff), Stage::Read,
     9, kReadMarker},
    {"OneMarkerMoreThanStored", patch<uint32_t>([](const Layout&) { return kNMarkers; }, 4), Stage::Read, 9,
     kReadMarker},
    {"HugeMarkerCount", patch<uint32_t>([](const Layout&) { return kNMarkers; }, 0xffffffffu), Stage::Read, 9,
     kReadMarker},
};

void PrintTo(const Corruption& c, std::ostream* os) { *os << c.name; }

class ZflFileCorruptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeRecording(path, baseTracks(), baseMarkers());
        original = readBytes(path);
        layout = layoutOf(baseTracks(), baseMarkers());
        ASSERT_EQ(layout.size, original.size());
    }

    TempDir dir;
    std::string path = dir.file("damaged.zfl");
    Bytes original;
    Layout layout;
};

class ZflFileCorruptionListTest : public ZflFileCorruptionTest,
                                  public ::testing::WithParamInterface<Corruption> {};

TEST_P(ZflFileCorruptionListTest, DamageIsReportedWithItsCodeAndThePath) {
    const Corruption& c = GetParam();
    Bytes bytes = original;
    c.mutate(bytes, layout);
    replaceFile(path, bytes);

    ZflFile file;
    auto opening = thrown([&] { file.open(path, ZflFile::Read); });
    std::optional<ZephrelException> e = opening;
    if (c.stage == Stage::Open) {
        ASSERT_TRUE(opening.has_value()) << "opened";
        EXPECT_FALSE(file.isOpen());
    } else {
        ASSERT_FALSE(opening.has_value()) << opening->logText;
        e = thrown([&] { readEverything(file); });
        ASSERT_TRUE(e.has_value()) << "read without failure";
    }
    EXPECT_EQ(c.code, e->code);
    EXPECT_EQ(c.function, e->function);
    EXPECT_EQ(2u, e->severity);
    const std::string expected = c.code == 9 ? "Reading from file '" + path + "' failed!"
                                             : "The file '" + path + "' is damaged or uses an unsupported format!";
    EXPECT_EQ(expected, e->userText);
}

INSTANTIATE_TEST_SUITE_P(List, ZflFileCorruptionListTest, ::testing::ValuesIn(kCorruptions), caseName<Corruption>);

TEST_F(ZflFileCorruptionTest, UndamagedFileReadsCleanly) {
    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_NO_THROW(readEverything(file));
    EXPECT_EQ(1, file.getTrackInfo(0).originalRecording);
}

// Reaching a marker means passing over the ones before it by their length fields alone; a length
// that cannot even cover a marker's fixed fields is damage there too.
TEST_F(ZflFileCorruptionTest, MarkerLengthTooShortIsDamageWhenPassedOver) {
    for (uint16_t length : {uint16_t{0}, uint16_t{1}, uint16_t{12}}) {
        SCOPED_TRACE("length " + std::to_string(length));
        Bytes bytes = original;
        store<uint16_t>(bytes, layout.marker[0], length);
        replaceFile(path, bytes);
        ZflFile file;
        file.open(path, ZflFile::Read);
        auto e = thrown([&] { file.readMarker(2); });
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(11u, e->code);
        EXPECT_EQ(kReadMarker, e->function);
    }
}

// Every byte of the file is needed by something the reader checks or reads, so every shorter
// prefix must fail, and must fail as a file error rather than in any other way.
TEST_F(ZflFileCorruptionTest, EveryTruncationFailsAsAFileError) {
    for (std::size_t size = 0; size < original.size(); ++size) {
        replaceFile(path, Bytes(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(size)));
        ZflFile file;
        try {
            file.open(path, ZflFile::Read);
            readEverything(file);
            ADD_FAILURE() << "a file of " << size << " bytes read cleanly";
        } catch (const ZephrelException& e) {
            EXPECT_TRUE(e.code == 9 || e.code == 11) << size << " bytes: code " << e.code;
        } catch (...) {
            ADD_FAILURE() << "a file of " << size << " bytes failed with another exception";
        }
    }
}

// Random damage anywhere in the headers and markers: the reader either reads the file (its
// damage may be harmless, or land in data) or reports it; it never fails in another way.
TEST_F(ZflFileCorruptionTest, RandomDamageIsReadOrReportedAsAFileError) {
    std::vector<std::size_t> headerBytes;
    for (std::size_t i = 0; i < 26; ++i)
        headerBytes.push_back(i);
    for (std::size_t t = 0; t < 2; ++t)
        for (std::size_t i = 0; i < sizeof(Zfl::TrackHeader); ++i)
            headerBytes.push_back(layout.trackHeader[t] + i);
    for (std::size_t i = layout.markers; i < layout.size; ++i)
        headerBytes.push_back(i);

    std::mt19937 random(20110815);
    int reported = 0;
    for (int round = 0; round < 1500; ++round) {
        Bytes bytes = original;
        const int changes = 1 + static_cast<int>(random() % 3);
        for (int k = 0; k < changes; ++k) {
            const std::size_t at = headerBytes[random() % headerBytes.size()];
            bytes[at] = random() % 4 == 0 ? 0xff : static_cast<unsigned char>(random());
        }
        replaceFile(path, bytes);
        ZflFile file;
        try {
            file.open(path, ZflFile::Read);
            readEverything(file);
        } catch (const ZephrelException& e) {
            ++reported;
            EXPECT_TRUE(e.code == 9 || e.code == 11) << "round " << round << ": code " << e.code;
        } catch (...) {
            ADD_FAILURE() << "round " << round << " failed with another exception";
        }
    }
    // Most damage to sizes, counts and lengths shows; a reader that reports nothing checks nothing.
    EXPECT_GT(reported, 200);
}

// A file that loses its end while it is open: the record and marker reads come back short. The
// second track is long enough that what is read lies well beyond what the stream has buffered.
struct LateTruncation {
    const char* name;
    std::function<void(ZflFile&)> read;
    const char* function;
};

void PrintTo(const LateTruncation& c, std::ostream* os) { *os << c.name; }

class ZflFileLateTruncationTest : public ::testing::TestWithParam<LateTruncation> {
protected:
    TempDir dir;
    std::string path = dir.file("shrinking.zfl");
};

TEST_P(ZflFileLateTruncationTest, ShortReadAfterOpeningIsAReadFailure) {
    const std::vector<TrackData> tracks = {baseTracks()[0], makeTrack(baseTracks()[1].info, 3000, 2, 13)};
    writeRecording(path, tracks, baseMarkers());
    ZflFile file;
    file.open(path, ZflFile::Read);
    // Reading the start of the file first leaves the stream's buffer there, far from what is cut.
    EXPECT_EQ(tracks[0].cont, readCont(file, 0));
    std::filesystem::resize_file(path, layoutOf(tracks).trackData[1] + 150000);
    auto e = thrown([&] { GetParam().read(file); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(9u, e->code);
    EXPECT_EQ(GetParam().function, e->function);
    EXPECT_EQ("Reading from file '" + path + "' failed!", e->userText);
    // What is still there still reads.
    EXPECT_EQ(tracks[0].cont, readCont(file, 0));
}

uint32_t t0, t1, t2, t3;
Bytes scratch(300000);

INSTANTIATE_TEST_SUITE_P(
    Reads, ZflFileLateTruncationTest,
    ::testing::Values(
        LateTruncation{"ContinuousRecords", [](ZflFile& f) { f.readContData(1, 0, 3000, scratch.data()); },
                       "ZflFile::readContData"},
        LateTruncation{"DiscreteRecords", [](ZflFile& f) { f.readDiscData(1, 0, 2, scratch.data()); },
                       "ZflFile::readDiscData"},
        LateTruncation{"LastContinuousRecord", [](ZflFile& f) { f.readContData(1, 2999, 1, scratch.data()); },
                       "ZflFile::readContData"},
        LateTruncation{"EndTime", [](ZflFile& f) { f.getEndTime(1); }, "ZflFile::getEndTime"},
        LateTruncation{"TimeRanges", [](ZflFile& f) { f.getTimeRanges(1, t0, t1, t2, t3); }, "ZflFile::getTimeRanges"},
        LateTruncation{"Marker", [](ZflFile& f) { f.readMarker(0); }, "ZflFile::readMarker"}),
    caseName<LateTruncation>);

} // namespace
