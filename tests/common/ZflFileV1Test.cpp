#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/DataBuffer.h"
#include "support/OldFormatFiles.h"
#include "support/ZflTestFiles.h"

using namespace oldformat;
using zfltest::readCont;
using zfltest::readDisc;

namespace {

// The records a conversion must make of an old sample: the fields its old flags stored at their
// new places (fields that follow each other in both forms go together), everything else zero.
template <typename Record> struct Expected {
    Record record{};
    uint32_t oldFlags;
    template <typename... Fields> void put(uint32_t oldBit, std::size_t offset, const Fields&... fields) {
        auto* out = reinterpret_cast<unsigned char*>(&record) + offset;
        if (oldBit == 0 || (oldFlags & oldBit) != 0)
            ((std::memcpy(out, &fields, sizeof fields), out += sizeof fields), ...);
    }
};

ContData expectedCont(const Sample& s, uint32_t oldFlags) {
    Expected<ContData> e{{}, oldFlags};
    e.put(0, 0, s.timestamp, s.latitude, s.longitude, s.altitude, s.pitch, s.bank, s.heading, s.velocity);
    e.put(0x002, offsetof(ContData, elevators), s.elevators, s.ailerons, s.rudder);
    e.put(0x001, offsetof(ContData, throttle), s.throttle);
    e.put(0x200, offsetof(ContData, prop), s.prop);
    e.put(0x200, offsetof(ContData, mix), s.mix);
    e.put(0x004, offsetof(ContData, spoilers), s.spoilers);
    return e.record;
}

DiscData expectedDisc(const Sample& s, uint32_t oldFlags) {
    Expected<DiscData> e{{}, oldFlags};
    e.put(0, 0, s.timestamp, s.onground);
    e.put(0x008, offsetof(DiscData, flaps), s.flaps);
    e.put(0x010, offsetof(DiscData, gear), s.gear);
    e.put(0x020, offsetof(DiscData, lights), s.lights);
    e.put(0, offsetof(DiscData, parkbrake), s.parkbrake);
    e.put(0x080, offsetof(DiscData, nav1), s.nav1, s.nav2, s.adf);
    e.put(0x100, offsetof(DiscData, com), s.com, s.squawk);
    e.put(0x800, offsetof(DiscData, smoke), s.smoke);
    // One bit per running engine, whatever the byte of a running engine is.
    for (int i = 0; i < 4; ++i)
        if ((oldFlags & 0x040) && s.engines[i] != 0)
            e.record.engines = static_cast<uint8_t>(e.record.engines | (1 << i));
    return e.record;
}

// A converted track: four engines, no tail number, no digest, one continuous record per sample
// and the discrete records of the samples listed in kept.
void expectTrack(ZflFile& file, uint32_t track, const std::vector<Sample>& samples, uint32_t oldFlags,
                 const std::vector<std::size_t>& kept) {
    const TrackInfo& info = file.getTrackInfo(track);
    EXPECT_EQ(4, copyOf(info.format.nEngines));
    EXPECT_STREQ("", info.tailNumber);
    EXPECT_EQ(0, info.originalRecording);
    ASSERT_EQ(samples.size(), copyOf(info.nCont));
    ASSERT_EQ(kept.size(), copyOf(info.nDisc));
    Bytes cont = readCont(file, track), disc = readDisc(file, track);
    DataBuffer buffer(cont.data(), disc.data(), info.format);
    for (uint32_t i = 0; i < info.nCont; ++i) {
        ContData got{}, want = expectedCont(samples[i], oldFlags);
        buffer.getContData(i, got);
        EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << "continuous record " << i;
    }
    for (uint32_t i = 0; i < info.nDisc; ++i) {
        DiscData got{}, want = expectedDisc(samples[kept[i]], oldFlags);
        buffer.getDiscData(i, got);
        EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << "discrete record " << i;
    }
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    return files;
}

Bytes versionBytes(uint32_t version) {
    Bytes b;
    append(b, version);
    return b;
}

Bytes currentFile() {
    TempDir scratch;
    zfltest::writeRecording(scratch.file("current.zfl"),
                            {zfltest::makeTrack(zfltest::trackInfo("Now", 1, 0, 0), 2, 1, 1)});
    return readBytes(scratch.file("current.zfl"));
}

class ZflFileV1Test : public TempFileTest {
protected:
    // Converts old and opens the result, which must be the only file besides the backup of old.
    void convert(const Bytes& old, ZflFile& file) {
        std::filesystem::remove(backup);
        writeBytes(path, old);
        ZflFile::convertV1File(path);
        EXPECT_EQ(old, readBytes(backup));
        EXPECT_EQ((std::vector<std::filesystem::path>{"flight.v1.zfl", "flight.zfl"}), filesIn(dir.path()));
        file.open(path, ZflFile::Read);
    }

    std::string backup = dir.file("flight.v1.zfl");
};

// ---- recognising old files ----

TEST_F(ZflFileV1Test, RecognisesOnlyTheThreeOldVersionsAndLeavesTheFileAsItIs) {
    const struct {
        const char* name;
        Bytes bytes;
        bool old;
    } cases[] = {{"version 4", singleTrackFile(kVersion4, 0, 0x7f, 0, samples(1)), true},
                 {"version 5", singleTrackFile(kVersion5, 0x3, 0x3, 0, samples(1)), true},
                 {"version 6", multiTrackFile({}), true},
                 {"version 6, only its number", versionBytes(kVersion6), true},
                 {"version 3", versionBytes(0x01000003), false},
                 {"version 7", versionBytes(0x01000007), false},
                 {"version 2.4", versionBytes(0x02000004), false},
                 {"current format", currentFile(), false},
                 {"four zero bytes", Bytes(4, 0), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path, c.bytes);
        EXPECT_EQ(c.old, ZflFile::checkOldVersion(path));
        EXPECT_EQ(c.bytes, readBytes(path));
    }
}

TEST_F(ZflFileV1Test, MissingFileOrOneShorterThanAVersionCannotBeChecked) {
    expectFileError(thrown([&] { ZflFile::checkOldVersion(path); }), ErrorCode::FileNotOpened, path,
                    "ZflFile::checkOldVersion");
    for (std::size_t size = 0; size < 4; ++size) {
        SCOPED_TRACE(std::to_string(size) + " bytes");
        writeBytes(path, Bytes(size, 0x06));
        expectFileError(thrown([&] { ZflFile::checkOldVersion(path); }), ErrorCode::FileReadFailed, path,
                        "ZflFile::checkOldVersion");
    }
}

// ---- what the conversion makes of the old groups ----

struct Groups {
    uint32_t oldFlags;
    uint32_t contFlags;
    uint32_t discFlags; // besides the parking brake, which is always recorded
};

// Version 4 stored its flags but always recorded the same groups, whatever its header says.
constexpr Groups kVersion4Groups = {0x07f, ContGroup::Throttles | ContGroup::FlightControls | ContGroup::Spoilers,
                                    DiscGroup::Flaps | DiscGroup::Gear | DiscGroup::Lights | DiscGroup::Engines};

TEST_F(ZflFileV1Test, OldGroupsBecomeTheirNewGroupsWithFourEngines) {
    const uint32_t props = ContGroup::Propellers | ContGroup::Mixtures;
    const Groups cases[] = {
        {0x000, 0, 0}, {0x001, ContGroup::Throttles, 0}, {0x002, ContGroup::FlightControls, 0},
        {0x004, ContGroup::Spoilers, 0}, {0x008, 0, DiscGroup::Flaps}, {0x010, 0, DiscGroup::Gear},
        {0x020, 0, DiscGroup::Lights}, {0x040, 0, DiscGroup::Engines}, {0x080, 0, DiscGroup::NavRadios},
        {0x100, 0, DiscGroup::ComRadios}, {0x200, props, 0}, {0x400, 0, 0} /* skipped bytes */,
        {0x800, 0, DiscGroup::Smoke}, {0x440, 0, DiscGroup::Engines},
        {0xfff, kVersion4Groups.contFlags | props,
         kVersion4Groups.discFlags | DiscGroup::NavRadios | DiscGroup::ComRadios | DiscGroup::Smoke}};
    const std::vector<Sample> old = samples(4);
    for (const Groups& stored : cases) {
        for (uint32_t version : {kVersion4, kVersion5, kVersion6}) {
            SCOPED_TRACE("old flags " + std::to_string(stored.oldFlags) + ", version " + std::to_string(version & 0xf));
            const Groups& c = version == kVersion4 ? kVersion4Groups : stored;
            ZflFile file;
            convert(version == kVersion6 ? multiTrackFile({Track{"Converted", stored.oldFlags, 3.5f, old}})
                                         : singleTrackFile(version, stored.oldFlags, c.oldFlags, 3.5f, old),
                    file);
            ASSERT_EQ(1u, file.getNTracks());
            const TrackInfo& info = file.getTrackInfo(0);
            const uint32_t disc = c.discFlags | DiscGroup::ParkingBrake;
            EXPECT_EQ(c.contFlags, copyOf(info.format.ContFlags));
            EXPECT_EQ(disc, copyOf(info.format.DiscFlags));
            EXPECT_EQ(contRecordSize(c.contFlags, 4), copyOf(info.format.contRecordSize));
            EXPECT_EQ(discRecordSize(disc), copyOf(info.format.discRecordSize));
            EXPECT_EQ(3.5f, copyOf(info.staticCGtoGround));
            EXPECT_STREQ(version == kVersion6 ? "Converted" : "", info.title);
            expectTrack(file, 0, old, c.oldFlags, {0});
        }
    }
}

TEST_F(ZflFileV1Test, Version6TracksKeepTheirTitlesHeightsAndGroups) {
    std::vector<Sample> first = samples(3), second = samples(5), third = samples(2);
    for (Sample& s : second)
        s.timestamp += 100;
    // Engines 2 and 4 running, the second with a byte other than 1.
    third[0].engines[0] = third[1].engines[0] = third[0].engines[2] = third[1].engines[2] = 0;
    third[0].engines[1] = third[1].engines[1] = 0x80;
    third[0].engines[3] = third[1].engines[3] = 1;
    const std::string longTitle(100, 'L');
    const std::vector<Track> tracks = {Track{std::string("Cessna\0junk after the end", 25), 0x1ff, 1.5f, first},
                                       Track{longTitle, 0x802, 2.5f, second}, Track{"", 0xc40, 0.0f, third}};
    ZflFile file;
    convert(multiTrackFile(tracks), file);
    ASSERT_EQ(3u, file.getNTracks());
    EXPECT_STREQ("Cessna", file.getTrackInfo(0).title);
    EXPECT_EQ(longTitle, file.getTrackInfo(1).title);
    EXPECT_STREQ("", file.getTrackInfo(2).title);
    EXPECT_EQ(1.5f, copyOf(file.getTrackInfo(0).staticCGtoGround));
    EXPECT_EQ(2.5f, copyOf(file.getTrackInfo(1).staticCGtoGround));
    // A discrete part that never changes gives one record per track.
    for (uint32_t t = 0; t < 3; ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        expectTrack(file, t, tracks[t].samples, tracks[t].flags, {0});
    }
    EXPECT_EQ(0u, file.getNMarkers());
}

// ---- which discrete records are kept ----

// Sets a field from sample `first` on.
template <typename F> std::function<void(std::vector<Sample>&)> from(std::size_t first, F set) {
    return [first, set](std::vector<Sample>& s) {
        for (std::size_t i = first; i < s.size(); ++i)
            set(s[i]);
    };
}

TEST_F(ZflFileV1Test, DiscreteRecordIsKeptOnlyWhenItChanges) {
    const struct {
        const char* what;
        uint32_t oldFlags;
        std::function<void(std::vector<Sample>&)> change;
        std::vector<std::size_t> kept;
    } cases[] = {
        // The skipped bytes differ in every sample, as do all continuous fields.
        {"never changing", 0xfff, [](std::vector<Sample>&) {}, {0}},
        {"all-zero discrete part is still recorded once", 0x000, from(0, [](Sample& s) { s.onground = s.parkbrake = 0; }), {0}},
        {"flaps change", 0x008, from(2, [](Sample& s) { s.flaps = 3; }), {0, 2}},
        {"gear changes and back", 0x010, [](std::vector<Sample>& s) { s[1].gear = 0; }, {0, 1, 2}},
        {"onground is always compared", 0x000, from(3, [](Sample& s) { s.onground = 0; }), {0, 3}},
        {"parking brake is always compared", 0x000, from(1, [](Sample& s) { s.parkbrake = 0; }), {0, 1}},
        {"engine running with another byte is no change", 0x040, from(2, [](Sample& s) { s.engines[0] = 0x80; }), {0}},
        {"engine starting is a change", 0x040, from(3, [](Sample& s) { s.engines[1] = 1; }), {0, 3}},
        {"nav radio change", 0x080, from(1, [](Sample& s) { s.nav2 = 0x00001130; }), {0, 1}},
        {"squawk change", 0x100, from(4, [](Sample& s) { s.squawk = 0x7700; }), {0, 4}},
        {"smoke change", 0x800, from(4, [](Sample& s) { s.smoke = 0; }), {0, 4}},
        {"several changes", 0xfff,
         [](std::vector<Sample>& s) {
             s[1].flaps = s[2].flaps = s[3].flaps = s[5].flaps = 0;
             s[2].com = s[3].com = s[5].com = 0x12341234;
             s[5].lights = 0xffff;
         },
         {0, 1, 2, 4, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Sample> old = samples(6);
        c.change(old);
        ZflFile file;
        convert(multiTrackFile({Track{"Changes", c.oldFlags, 0, old}}), file);
        expectTrack(file, 0, old, c.oldFlags, c.kept);
    }
}

// ---- the files a conversion leaves ----

TEST_F(ZflFileV1Test, ConvertedFileIsACurrentRecordingWithoutDigests) {
    for (const Bytes& old : {multiTrackFile({Track{"Backup", 0x0ff, 1.0f, samples(4)}}),
                             singleTrackFile(kVersion5, 0x0ff, 0x0ff, 0, {})}) {
        ZflFile file;
        convert(old, file);
        EXPECT_NO_THROW(zfltest::readEverything(file));
        EXPECT_FALSE(ZflFile::checkOldVersion(path));
        const Bytes converted = readBytes(path);
        const auto header = load<Zfl::FileHeader>(converted, 0);
        EXPECT_EQ(0, std::memcmp(header.magic, "ZFL2", 4));
        EXPECT_EQ(0x00010003u, copyOf(header.version));
        EXPECT_EQ(converted.size(), 26u + copyOf(header.tracksSize) + copyOf(header.markersSize));
        // An old file without records becomes a recording without tracks.
        EXPECT_EQ(old.size() > 28 ? 1u : 0u, file.getNTracks());
        if (file.getNTracks() > 0) {
            EXPECT_EQ(0u, copyOf(load<Zfl::TrackHeader>(converted, 26).trackDigest));
        }
    }
}

TEST_F(ZflFileV1Test, BackupNameReplacesOnlyTheFileExtension) {
    const std::filesystem::path folder = dir.path() / "flights.2011";
    std::filesystem::create_directory(folder);
    const Bytes old = singleTrackFile(kVersion5, 0, 0, 0, samples(2));
    for (const char* name : {"circuit.zfl", "circuit"}) {
        SCOPED_TRACE(name);
        const std::string file = (folder / name).string();
        writeBytes(file, old);
        ZflFile::convertV1File(file);
        EXPECT_EQ(old, readBytes((folder / "circuit.v1.zfl").string()));
        EXPECT_FALSE(ZflFile::checkOldVersion(file));
        std::filesystem::remove(folder / "circuit.v1.zfl");
        std::filesystem::remove(file);
    }
}

// ---- failed conversions ----

Bytes truncated(Bytes bytes, std::size_t removed) {
    bytes.resize(bytes.size() - removed);
    return bytes;
}

// Whatever is damaged, even an old file cut short anywhere: the conversion fails in bounded time
// and the old file is back in its place, with no backup left.
TEST_F(ZflFileV1Test, FailedConversionPutsTheOldFileBack) {
    const Track one{"One", 0x3, 0, samples(2)};
    const ErrorCode kCut = ErrorCode::FileReadFailed, kForeign = ErrorCode::InvalidFile;
    struct Case {
        std::string name;
        Bytes old;
        ErrorCode code;
        bool aboutBackup; // whether the message names the backup (reading it) or the file itself
    };
    std::vector<Case> cases = {
        {"last record cut", truncated(singleTrackFile(kVersion5, 0xfff, 0xfff, 0, samples(5)), 3), kCut, true},
        {"file header cut", truncated(singleTrackFile(kVersion4, 0, 0x7f, 0, {}), 5), kCut, true},
        {"second track header cut",
         truncated(multiTrackFile({one, Track{"Two", 0x3, 0, samples(2)}}), 2 * record(sample(0), 0x3).size() + 60), kCut,
         true},
        {"second track record cut", truncated(multiTrackFile({one, Track{"Two", 0x800, 0, samples(2)}}), 1), kCut, true},
        {"huge record count in a tiny file", singleTrackFile(kVersion5, 0xfff, 0xfff, 0, samples(2), 0xffffffffu), kCut,
         true},
        {"huge track count in a tiny file", multiTrackFile({Track{"Only", 0xfff, 0, samples(2)}}, 0xffff), kCut, true},
        {"current format file", currentFile(), kForeign, false},
        {"unknown version", singleTrackFile(0x01000007, 0, 0, 0, samples(2)), kForeign, false},
    };
    const Bytes old = multiTrackFile({Track{"First", 0xfff, 1, samples(2)}, Track{"Second", 0x0a5, 2, samples(3)}});
    for (std::size_t size = 0; size < old.size(); ++size)
        cases.push_back({"cut to " + std::to_string(size) + " bytes", truncated(old, old.size() - size), kCut, true});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path, c.old);
        const auto started = std::chrono::steady_clock::now();
        auto e = thrown([&] { ZflFile::convertV1File(path); });
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
        expectFileError(e, c.code, c.aboutBackup ? backup : path, "ZflFile::convertV1File");
        ASSERT_EQ(c.old, readBytes(path));
        ASSERT_EQ(std::vector<std::filesystem::path>{"flight.zfl"}, filesIn(dir.path()));
    }
}

TEST_F(ZflFileV1Test, MissingFileOrExistingBackupFailTheRenameAndAreLeftAlone) {
    auto e = thrown([&] { ZflFile::convertV1File(path); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(ErrorCode::RenameFailed, e->code);
    EXPECT_TRUE(filesIn(dir.path()).empty());

    const Bytes old = singleTrackFile(kVersion5, 0x3, 0x3, 0, samples(3));
    const Bytes earlier = singleTrackFile(kVersion4, 0, 0x7f, 0, samples(1));
    writeBytes(path, old);
    writeBytes(backup, earlier);
    e = thrown([&] { ZflFile::convertV1File(path); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(ErrorCode::RenameFailed, e->code);
    EXPECT_EQ("The file '" + path + "' could not be renamed to '" + backup + "'!", e->userText);
    EXPECT_EQ(old, readBytes(path));
    EXPECT_EQ(earlier, readBytes(backup));
}

} // namespace
