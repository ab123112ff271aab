#include <gtest/gtest.h>

#include "Packed.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "DataBuffer.h"
#include "TempDir.h"
#include "ZephrelException.h"
#include "ZflFile.h"
#include "ZflFormat.h"
#include "ZflTestFiles.h"

using namespace zfltest;
using namespace zfltest::v1;

namespace {

uint8_t engineBits(const OldSample& s) {
    uint8_t bits = 0;
    for (int e = 0; e < 4; ++e)
        if (s.engines[e] != 0)
            bits = static_cast<uint8_t>(bits | (1 << e));
    return bits;
}

void expectContinuous(const ContData& c, const OldSample& s, uint32_t oldFlags) {
    EXPECT_EQ(copyOf(s.timestamp), copyOf(c.timestamp));
    EXPECT_EQ(copyOf(s.latitude), copyOf(c.latitude));
    EXPECT_EQ(copyOf(s.longitude), copyOf(c.longitude));
    EXPECT_EQ(copyOf(s.altitude), copyOf(c.altitude));
    EXPECT_EQ(copyOf(s.pitch), copyOf(c.pitch));
    EXPECT_EQ(copyOf(s.bank), copyOf(c.bank));
    EXPECT_EQ(copyOf(s.heading), copyOf(c.heading));
    EXPECT_EQ(s.velocity[0], copyOf(c.velocityX));
    EXPECT_EQ(s.velocity[1], copyOf(c.velocityY));
    EXPECT_EQ(s.velocity[2], copyOf(c.velocityZ));
    for (int e = 0; e < 4; ++e) {
        if (oldFlags & 0x001) {
            EXPECT_EQ(copyOf(s.throttle[e]), copyOf(c.throttle[e])) << "engine " << e;
        }
        if (oldFlags & 0x200) {
            EXPECT_EQ(copyOf(s.prop[e]), copyOf(c.prop[e])) << "engine " << e;
            EXPECT_EQ(copyOf(s.mix[e]), copyOf(c.mix[e])) << "engine " << e;
        }
    }
    if (oldFlags & 0x002) {
        EXPECT_EQ(copyOf(s.elevators), copyOf(c.elevators));
        EXPECT_EQ(copyOf(s.ailerons), copyOf(c.ailerons));
        EXPECT_EQ(copyOf(s.rudder), copyOf(c.rudder));
    }
    if (oldFlags & 0x004) {
        EXPECT_EQ(copyOf(s.spoilers), copyOf(c.spoilers));
    }
}

void expectDiscrete(const DiscData& d, const OldSample& s, uint32_t oldFlags) {
    EXPECT_EQ(copyOf(s.timestamp), copyOf(d.timestamp));
    EXPECT_EQ(copyOf(s.onground), copyOf(d.onground));
    EXPECT_EQ(copyOf(s.parkbrake), copyOf(d.parkbrake));
    if (oldFlags & 0x008) {
        EXPECT_EQ(copyOf(s.flaps), copyOf(d.flaps));
    }
    if (oldFlags & 0x010) {
        EXPECT_EQ(copyOf(s.gear), copyOf(d.gear));
    }
    if (oldFlags & 0x020) {
        EXPECT_EQ(copyOf(s.lights), copyOf(d.lights));
    }
    if (oldFlags & 0x040) {
        EXPECT_EQ(engineBits(s), copyOf(d.engines));
    }
    if (oldFlags & 0x080) {
        EXPECT_EQ(copyOf(s.nav1), copyOf(d.nav1));
        EXPECT_EQ(copyOf(s.nav2), copyOf(d.nav2));
        EXPECT_EQ(copyOf(s.adf), copyOf(d.adf));
    }
    if (oldFlags & 0x100) {
        EXPECT_EQ(copyOf(s.com), copyOf(d.com));
        EXPECT_EQ(copyOf(s.squawk), copyOf(d.squawk));
    }
    if (oldFlags & 0x800) {
        EXPECT_EQ(copyOf(s.smoke), copyOf(d.smoke));
    }
}

// Checks a converted track against the old samples: one continuous record per sample, and the
// discrete records of the samples listed in kept.
void expectTrack(ZflFile& file, uint32_t track, const std::vector<OldSample>& samples, uint32_t oldFlags,
                 const std::vector<std::size_t>& kept) {
    const TrackInfo& info = file.getTrackInfo(track);
    EXPECT_EQ(4, copyOf(info.format.nEngines));
    EXPECT_STREQ("", info.tailNumber);
    EXPECT_EQ(0, info.originalRecording);
    ASSERT_EQ(samples.size(), copyOf(info.nCont));
    ASSERT_EQ(kept.size(), copyOf(info.nDisc));
    Bytes cont = readCont(file, track);
    Bytes disc = readDisc(file, track);
    DataBuffer buffer(cont.data(), disc.data(), info.format);
    for (uint32_t i = 0; i < info.nCont; ++i) {
        SCOPED_TRACE("continuous record " + std::to_string(i));
        ContData c{};
        buffer.getContData(i, c);
        expectContinuous(c, samples[i], oldFlags);
    }
    for (uint32_t i = 0; i < info.nDisc; ++i) {
        SCOPED_TRACE("discrete record " + std::to_string(i));
        DiscData d{};
        buffer.getDiscData(i, d);
        expectDiscrete(d, samples[kept[i]], oldFlags);
    }
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    return files;
}

class ZflFileV1Test : public ::testing::Test {
protected:
    void convert(const Bytes& old) {
        replaceFile(path, old);
        ZflFile::convertV1File(path);
    }

    TempDir dir;
    std::string path = dir.file("flight.zfl");
    std::string backup = dir.file("flight.v1.zfl");
};

// ---- recognising old files ----

struct VersionCase {
    const char* name;
    Bytes bytes;
    bool old;
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.name; }

class ZflFileCheckOldVersionTest : public ZflFileV1Test, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(ZflFileCheckOldVersionTest, RecognisesOnlyTheThreeOldVersions) {
    replaceFile(path, GetParam().bytes);
    EXPECT_EQ(GetParam().old, ZflFile::checkOldVersion(path));
    EXPECT_EQ(GetParam().bytes, readBytes(path));
}

Bytes versionBytes(uint32_t version) {
    Bytes b;
    append(b, version);
    return b;
}

Bytes currentFile() {
    TempDir scratch;
    const std::string file = scratch.file("current.zfl");
    writeRecording(file, {makeTrack(trackInfo("Now", 1, 0, 0), 2, 1, 1)});
    return readBytes(file);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, ZflFileCheckOldVersionTest,
    ::testing::Values(VersionCase{"Version4", singleTrackFile(kVersion4, 0, 0x7f, 0, samples(1)), true},
                      VersionCase{"Version5", singleTrackFile(kVersion5, 0x3, 0x3, 0, samples(1)), true},
                      VersionCase{"Version6", multiTrackFile({}), true},
                      VersionCase{"Version6OnlyItsNumber", versionBytes(kVersion6), true},
                      VersionCase{"Version3", versionBytes(0x01000003), false},
                      VersionCase{"Version7", versionBytes(0x01000007), false},
                      VersionCase{"Version2Dot4", versionBytes(0x02000004), false},
                      VersionCase{"CurrentFormat", currentFile(), false},
                      VersionCase{"FourZeroBytes", Bytes(4, 0), false}),
    caseName<VersionCase>);

TEST_F(ZflFileV1Test, FileShorterThanAVersionCannotBeChecked) {
    for (std::size_t size = 0; size < 4; ++size) {
        SCOPED_TRACE(std::to_string(size) + " bytes");
        Bytes bytes = versionBytes(kVersion6);
        bytes.resize(size);
        replaceFile(path, bytes);
        auto e = thrown([&] { ZflFile::checkOldVersion(path); });
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(9u, e->code);
        EXPECT_EQ("Reading from file '" + path + "' failed!", e->userText);
    }
}

TEST_F(ZflFileV1Test, MissingFileCannotBeChecked) {
    auto e = thrown([&] { ZflFile::checkOldVersion(path); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(8u, e->code);
    EXPECT_EQ("File " + path + " could not be opened!", e->userText);
}

// ---- what the conversion makes of the old groups ----

struct FlagCase {
    const char* name;
    uint32_t oldFlags;
    uint32_t contFlags;
    uint32_t discFlags;
};

void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }

class ZflFileV1FlagTest : public ZflFileV1Test, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(ZflFileV1FlagTest, OldGroupsBecomeTheirNewGroupsWithFourEngines) {
    const FlagCase& c = GetParam();
    const std::vector<OldSample> old = samples(4);
    for (uint32_t version : {kVersion5, kVersion6}) {
        SCOPED_TRACE(version == kVersion5 ? "version 5" : "version 6");
        if (version == kVersion5)
            convert(singleTrackFile(kVersion5, c.oldFlags, c.oldFlags, 3.5f, old));
        else
            convert(multiTrackFile({OldTrack{"Converted", c.oldFlags, 3.5f, old}}));
        ZflFile file;
        file.open(path, ZflFile::Read);
        ASSERT_EQ(1u, file.getNTracks());
        const TrackInfo& info = file.getTrackInfo(0);
        EXPECT_EQ(c.contFlags, copyOf(info.format.ContFlags));
        EXPECT_EQ(c.discFlags, copyOf(info.format.DiscFlags));
        EXPECT_EQ(contRecordSize(c.contFlags, 4), copyOf(info.format.contRecordSize));
        EXPECT_EQ(discRecordSize(c.discFlags), copyOf(info.format.discRecordSize));
        EXPECT_EQ(3.5f, copyOf(info.staticCGtoGround));
        EXPECT_STREQ(version == kVersion5 ? "" : "Converted", info.title);
        expectTrack(file, 0, old, c.oldFlags, {0});
        file.close();
        std::filesystem::remove(backup);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Flags, ZflFileV1FlagTest,
    ::testing::Values(FlagCase{"None", 0x000, 0, DiscGroup::ParkingBrake},
                      FlagCase{"Throttles", 0x001, ContGroup::Throttles, DiscGroup::ParkingBrake},
                      FlagCase{"FlightControls", 0x002, ContGroup::FlightControls, DiscGroup::ParkingBrake},
                      FlagCase{"Spoilers", 0x004, ContGroup::Spoilers, DiscGroup::ParkingBrake},
                      FlagCase{"Flaps", 0x008, 0, DiscGroup::Flaps | DiscGroup::ParkingBrake},
                      FlagCase{"Gear", 0x010, 0, DiscGroup::Gear | DiscGroup::ParkingBrake},
                      FlagCase{"Lights", 0x020, 0, DiscGroup::Lights | DiscGroup::ParkingBrake},
                      FlagCase{"Engines", 0x040, 0, DiscGroup::Engines | DiscGroup::ParkingBrake},
                      FlagCase{"NavRadios", 0x080, 0, DiscGroup::NavRadios | DiscGroup::ParkingBrake},
                      FlagCase{"ComRadios", 0x100, 0, DiscGroup::ComRadios | DiscGroup::ParkingBrake},
                      FlagCase{"PropellersAndMixtures", 0x200, ContGroup::Propellers | ContGroup::Mixtures,
                               DiscGroup::ParkingBrake},
                      FlagCase{"SkippedBytes", 0x400, 0, DiscGroup::ParkingBrake},
                      FlagCase{"Smoke", 0x800, 0, DiscGroup::Smoke | DiscGroup::ParkingBrake},
                      FlagCase{"EnginesAndSkippedBytes", 0x440, 0, DiscGroup::Engines | DiscGroup::ParkingBrake},
                      FlagCase{"Everything", 0xfff,
                               ContGroup::Throttles | ContGroup::FlightControls | ContGroup::Spoilers |
                                   ContGroup::Propellers | ContGroup::Mixtures,
                               DiscGroup::Flaps | DiscGroup::Gear | DiscGroup::Lights | DiscGroup::ParkingBrake |
                                   DiscGroup::Engines | DiscGroup::NavRadios | DiscGroup::ComRadios |
                                   DiscGroup::Smoke}),
    caseName<FlagCase>);

TEST_F(ZflFileV1Test, Version4RecordsItsFixedGroupsWhateverItsHeaderSays) {
    const std::vector<OldSample> old = samples(3);
    for (uint32_t stored : {0x000u, 0x7fu, 0xfffu, 0x800u}) {
        SCOPED_TRACE("stored flags " + std::to_string(stored));
        convert(singleTrackFile(kVersion4, stored, 0x7f, 1.0f, old));
        ZflFile file;
        file.open(path, ZflFile::Read);
        ASSERT_EQ(1u, file.getNTracks());
        const TrackInfo& info = file.getTrackInfo(0);
        EXPECT_EQ(ContGroup::Throttles | ContGroup::FlightControls | ContGroup::Spoilers, copyOf(info.format.ContFlags));
        EXPECT_EQ(DiscGroup::Flaps | DiscGroup::Gear | DiscGroup::Lights | DiscGroup::Engines | DiscGroup::ParkingBrake,
                  copyOf(info.format.DiscFlags));
        expectTrack(file, 0, old, 0x7f, {0});
        file.close();
        std::filesystem::remove(backup);
    }
}

TEST_F(ZflFileV1Test, EngineBitIsSetForEveryRunningEngine) {
    std::vector<OldSample> old = samples(1);
    old[0].engines[0] = 0;
    old[0].engines[1] = 0x80;
    old[0].engines[2] = 0;
    old[0].engines[3] = 1;
    convert(singleTrackFile(kVersion5, 0x040, 0x040, 0, old));
    ZflFile file;
    file.open(path, ZflFile::Read);
    Bytes cont = readCont(file, 0), disc = readDisc(file, 0);
    DiscData d{};
    DataBuffer(cont.data(), disc.data(), file.getTrackInfo(0).format).getDiscData(0, d);
    EXPECT_EQ(0x0a, copyOf(d.engines));
}

TEST_F(ZflFileV1Test, Version6TracksKeepTheirTitlesHeightsAndGroups) {
    std::vector<OldSample> first = samples(3), second = samples(5), third = samples(2);
    for (OldSample& s : second)
        s.timestamp += 100;
    const std::string longTitle(100, 'L');
    const std::vector<OldTrack> tracks = {OldTrack{std::string("Cessna\0junk after the end", 25), 0x1ff, 1.5f, first},
                                          OldTrack{longTitle, 0x802, 2.5f, second},
                                          OldTrack{"", 0xc00, 0.0f, third}};
    convert(multiTrackFile(tracks));
    ZflFile file;
    file.open(path, ZflFile::Read);
    ASSERT_EQ(3u, file.getNTracks());
    EXPECT_STREQ("Cessna", file.getTrackInfo(0).title);
    EXPECT_EQ(longTitle, file.getTrackInfo(1).title);
    EXPECT_STREQ("", file.getTrackInfo(2).title);
    EXPECT_EQ(1.5f, copyOf(file.getTrackInfo(0).staticCGtoGround));
    EXPECT_EQ(2.5f, copyOf(file.getTrackInfo(1).staticCGtoGround));
    // A discrete part that never changes gives one record per track.
    for (uint32_t t = 0; t < 3; ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        expectTrack(file, t, t == 0 ? first : t == 1 ? second : third, tracks[t].flags, {0});
    }
    EXPECT_EQ(0u, file.getNMarkers());
}

// ---- which discrete records are kept ----

struct ChangeCase {
    const char* name;
    uint32_t oldFlags;
    std::function<void(std::vector<OldSample>&)> change;
    std::vector<std::size_t> kept;
};

void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }

class ZflFileV1ChangeTest : public ZflFileV1Test, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ZflFileV1ChangeTest, DiscreteRecordIsKeptOnlyWhenItChanges) {
    const ChangeCase& c = GetParam();
    std::vector<OldSample> old = samples(6);
    c.change(old);
    convert(multiTrackFile({OldTrack{"Changes", c.oldFlags, 0, old}}));
    ZflFile file;
    file.open(path, ZflFile::Read);
    expectTrack(file, 0, old, c.oldFlags, c.kept);
}

// Sets a field from sample `from` on.
template <typename F> std::function<void(std::vector<OldSample>&)> from(std::size_t first, F set) {
    return [first, set](std::vector<OldSample>& s) {
        for (std::size_t i = first; i < s.size(); ++i)
            set(s[i]);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ZflFileV1ChangeTest,
    ::testing::Values(
        ChangeCase{"NeverChanging", 0xfff, [](std::vector<OldSample>&) {}, {0}},
        ChangeCase{"AllZeroDiscretePartIsStillRecordedOnce", 0x000, from(0, [](OldSample& s) {
                       s.onground = 0;
                       s.parkbrake = 0;
                   }),
                   {0}},
        ChangeCase{"FlapsChange", 0x008, from(2, [](OldSample& s) { s.flaps = 3; }), {0, 2}},
        ChangeCase{"GearChangesAndBack", 0x010, [](std::vector<OldSample>& s) { s[1].gear = 0; }, {0, 1, 2}},
        ChangeCase{"LightsChange", 0x020, from(5, [](OldSample& s) { s.lights = 0; }), {0, 5}},
        ChangeCase{"OngroundIsAlwaysCompared", 0x000, from(3, [](OldSample& s) { s.onground = 0; }), {0, 3}},
        ChangeCase{"ParkingBrakeIsAlwaysCompared", 0x000, from(1, [](OldSample& s) { s.parkbrake = 0; }), {0, 1}},
        ChangeCase{"EngineRunningWithAnotherByteIsNoChange", 0x040,
                   from(2, [](OldSample& s) { s.engines[0] = 0x80; }), {0}},
        ChangeCase{"EngineStartingIsAChange", 0x040, from(3, [](OldSample& s) { s.engines[1] = 1; }), {0, 3}},
        ChangeCase{"NavRadioChange", 0x080, from(1, [](OldSample& s) { s.nav2 = 0x00001130; }), {0, 1}},
        ChangeCase{"SquawkChange", 0x100, from(4, [](OldSample& s) { s.squawk = 0x7700; }), {0, 4}},
        ChangeCase{"SmokeChange", 0x800, from(4, [](OldSample& s) { s.smoke = 0; }), {0, 4}},
        // The skipped bytes differ in every sample, as do all continuous fields.
        ChangeCase{"SkippedBytesAreNoChange", 0x400, [](std::vector<OldSample>&) {}, {0}},
        ChangeCase{"SeveralChanges", 0xfff,
                   [](std::vector<OldSample>& s) {
                       s[1].flaps = 0;
                       s[2].flaps = 0;
                       s[2].com = 0x12341234;
                       s[3].flaps = 0;
                       s[3].com = 0x12341234;
                       s[5].flaps = 0;
                       s[5].com = 0x12341234;
                       s[5].lights = 0xffff;
                   },
                   {0, 1, 2, 4, 5}}),
    caseName<ChangeCase>);

// ---- the files a conversion leaves ----

TEST_F(ZflFileV1Test, ConversionKeepsTheOldFileAsBackupAndWritesACurrentOne) {
    const Bytes old = multiTrackFile({OldTrack{"Backup", 0x0ff, 1.0f, samples(4)}});
    convert(old);
    EXPECT_EQ(old, readBytes(backup));
    EXPECT_EQ((std::vector<std::filesystem::path>{"flight.v1.zfl", "flight.zfl"}), filesIn(dir.path()));
    EXPECT_FALSE(ZflFile::checkOldVersion(path));
    const Bytes converted = readBytes(path);
    const auto header = load<Zfl::FileHeader>(converted, 0);
    EXPECT_EQ(0, std::memcmp(header.magic, "ZFL2", 4));
    EXPECT_EQ(0x00010003u, copyOf(header.version));
    EXPECT_EQ(converted.size(), 26u + copyOf(header.tracksSize) + copyOf(header.markersSize));
    EXPECT_EQ(0u, copyOf(load<Zfl::TrackHeader>(converted, 26).trackDigest));
    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_NO_THROW(readEverything(file));
}

TEST_F(ZflFileV1Test, BackupNameReplacesOnlyTheFileExtension) {
    const std::filesystem::path folder = dir.path() / "flights.2011";
    std::filesystem::create_directory(folder);
    const Bytes old = singleTrackFile(kVersion5, 0, 0, 0, samples(2));
    for (const char* name : {"circuit.zfl", "circuit"}) {
        SCOPED_TRACE(name);
        const std::string file = (folder / name).string();
        replaceFile(file, old);
        ZflFile::convertV1File(file);
        EXPECT_EQ(old, readBytes((folder / "circuit.v1.zfl").string()));
        EXPECT_FALSE(ZflFile::checkOldVersion(file));
        std::filesystem::remove(folder / "circuit.v1.zfl");
        std::filesystem::remove(file);
    }
}

TEST_F(ZflFileV1Test, OldFileWithoutRecordsBecomesARecordingWithoutTracks) {
    convert(singleTrackFile(kVersion5, 0x0ff, 0x0ff, 0, {}));
    ZflFile file;
    file.open(path, ZflFile::Read);
    EXPECT_EQ(0u, file.getNTracks());
    EXPECT_EQ(26u, std::filesystem::file_size(path));
}

// ---- failed conversions ----

struct FailureCase {
    const char* name;
    std::function<Bytes()> old;
    uint32_t code;
    bool aboutBackup; // whether the message names the backup (reading it) or the file itself
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class ZflFileV1FailureTest : public ZflFileV1Test, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ZflFileV1FailureTest, FailedConversionPutsTheOldFileBack) {
    const FailureCase& c = GetParam();
    const Bytes old = c.old();
    replaceFile(path, old);
    const auto started = std::chrono::steady_clock::now();
    auto e = thrown([&] { ZflFile::convertV1File(path); });
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(c.code, e->code);
    EXPECT_EQ(2u, e->severity);
    const std::string named = c.aboutBackup ? backup : path;
    EXPECT_EQ(c.code == 9 ? "Reading from file '" + named + "' failed!"
                          : "The file '" + named + "' is damaged or uses an unsupported format!",
              e->userText);
    EXPECT_EQ(old, readBytes(path));
    EXPECT_EQ(std::vector<std::filesystem::path>{"flight.zfl"}, filesIn(dir.path()));
}

Bytes truncated(Bytes bytes, std::size_t removed) {
    bytes.resize(bytes.size() - removed);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ZflFileV1FailureTest,
    ::testing::Values(
        FailureCase{"LastRecordCut",
                    [] { return truncated(singleTrackFile(kVersion5, 0xfff, 0xfff, 0, samples(5)), 3); }, 9, true},
        FailureCase{"FileHeaderCut", [] { return truncated(singleTrackFile(kVersion4, 0, 0x7f, 0, {}), 5); }, 9, true},
        FailureCase{"OnlyTheVersion", [] { return versionBytes(kVersion6); }, 9, true},
        FailureCase{"SecondTrackHeaderCut",
                    [] {
                        Bytes b = multiTrackFile({OldTrack{"One", 0x3, 0, samples(2)}, OldTrack{"Two", 0x3, 0, samples(2)}});
                        return truncated(b, 2 * record(sample(0), 0x3).size() + 60);
                    },
                    9, true},
        FailureCase{"SecondTrackRecordCut",
                    [] {
                        return truncated(multiTrackFile({OldTrack{"One", 0x3, 0, samples(2)},
                                                         OldTrack{"Two", 0x800, 0, samples(2)}}),
                                         1);
                    },
                    9, true},
        FailureCase{"HugeRecordCountInATinyFile",
                    [] { return singleTrackFile(kVersion5, 0xfff, 0xfff, 0, samples(2), 0xffffffffu); }, 9, true},
        FailureCase{"HugeTrackCountInATinyFile",
                    [] { return multiTrackFile({OldTrack{"Only", 0xfff, 0, samples(2)}}, 0xffff); }, 9, true},
        FailureCase{"CurrentFormatFile", [] { return currentFile(); }, 11, false},
        FailureCase{"UnknownVersion", [] { return singleTrackFile(0x01000007, 0, 0, 0, samples(2)); }, 11, false}),
    caseName<FailureCase>);

TEST_F(ZflFileV1Test, EveryTruncatedOldFileFailsAndIsPutBack) {
    const Bytes old = multiTrackFile({OldTrack{"First", 0xfff, 1, samples(2)}, OldTrack{"Second", 0x0a5, 2, samples(3)}});
    for (std::size_t size = 0; size < old.size(); ++size) {
        const Bytes cut(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(size));
        replaceFile(path, cut);
        auto e = thrown([&] { ZflFile::convertV1File(path); });
        ASSERT_TRUE(e.has_value()) << size << " bytes converted";
        EXPECT_EQ(9u, e->code) << size << " bytes";
        ASSERT_EQ(cut, readBytes(path)) << size << " bytes";
        ASSERT_FALSE(std::filesystem::exists(backup)) << size << " bytes";
    }
}

TEST_F(ZflFileV1Test, ExistingBackupIsNeverOverwritten) {
    const Bytes old = singleTrackFile(kVersion5, 0x3, 0x3, 0, samples(3));
    const Bytes earlier = singleTrackFile(kVersion4, 0, 0x7f, 0, samples(1));
    replaceFile(path, old);
    replaceFile(backup, earlier);
    auto e = thrown([&] { ZflFile::convertV1File(path); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(12u, e->code);
    EXPECT_EQ("The file '" + path + "' could not be renamed to '" + backup + "'!", e->userText);
    EXPECT_EQ(old, readBytes(path));
    EXPECT_EQ(earlier, readBytes(backup));
}

TEST_F(ZflFileV1Test, MissingFileCannotBeRenamed) {
    auto e = thrown([&] { ZflFile::convertV1File(path); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(12u, e->code);
    EXPECT_TRUE(filesIn(dir.path()).empty());
}

} // namespace
