// Saving a play list as one recording: what each track, record and marker becomes, read back
// from the written file.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/DataBuffer.h"
#include "common/ZephrelException.h"
#include "common/ZflFile.h"
#include "playback/PlayListFile.h"
#include "support/Packed.h"
#include "support/TempDir.h"
#include "support/ZflTestFiles.h"

namespace {

constexpr double kTwoTo32 = 4294967296.0;
constexpr double kLongitudePerMetre = 460305528975.90894; // at the equator
constexpr uint32_t kQuarterTurn = 0x40000000u;
constexpr uint32_t kContFlags = ContGroup::FlightControls | ContGroup::Throttles;
constexpr uint32_t kDiscFlags = DiscGroup::Flaps | DiscGroup::Gear;
constexpr uint8_t kEngines = 1;

DataFormat fullFormat(uint32_t contFlags = kContFlags, uint32_t discFlags = kDiscFlags) {
    return {kEngines, contFlags, discFlags, contRecordSize(contFlags, kEngines), discRecordSize(discFlags)};
}

// Continuous records at 1 s steps from t = 1 s, on the equator, with the given heading.
std::vector<ContData> contRecords(uint32_t count, uint32_t heading = 0) {
    std::vector<ContData> records(count);
    for (uint32_t i = 0; i < count; ++i) {
        ContData& r = records[i];
        std::memset(&r, 0, sizeof r);
        r.timestamp = 10000 + i * 10000;
        r.longitude = static_cast<int64_t>(i) * 1000000;
        r.altitude = static_cast<int64_t>(300 + i) << 32;
        r.heading = heading;
        r.elevators = static_cast<int16_t>(100 + i);
        r.throttle[0] = static_cast<int16_t>(200 + i);
    }
    return records;
}

std::vector<DiscData> discRecords(uint32_t count) {
    std::vector<DiscData> records(count);
    for (uint32_t i = 0; i < count; ++i) {
        std::memset(&records[i], 0, sizeof records[i]);
        records[i].timestamp = 15000 + i * 30000;
        records[i].flaps = static_cast<uint8_t>(i);
        records[i].gear = static_cast<int16_t>(i);
    }
    return records;
}

struct SourceTrack {
    std::string title = "Cessna Skyhawk";
    std::string tailNumber = "N12345";
    std::vector<ContData> cont = contRecords(250);
    std::vector<DiscData> disc = discRecords(3);
    uint8_t original = 0;
};

void writeSource(const std::string& path, const std::vector<SourceTrack>& tracks,
                 const std::vector<Marker>& markers = {}) {
    ZflFile file;
    file.open(path, ZflFile::Write);
    for (const SourceTrack& track : tracks) {
        const DataFormat format = fullFormat();
        file.addTrack(zfltest::trackInfo(track.title, kEngines, kContFlags, kDiscFlags, format.contRecordSize,
                                         format.discRecordSize, track.original, track.tailNumber));
        std::vector<unsigned char> cont(track.cont.size() * format.contRecordSize);
        std::vector<unsigned char> disc(track.disc.size() * format.discRecordSize);
        DataBuffer buffer(cont.data(), disc.data(), format);
        for (uint32_t i = 0; i < track.cont.size(); ++i)
            buffer.setContData(i, track.cont[i]);
        for (uint32_t i = 0; i < track.disc.size(); ++i)
            buffer.setDiscData(i, track.disc[i]);
        file.writeContData(static_cast<uint32_t>(track.cont.size()), cont.data());
        file.writeDiscData(static_cast<uint32_t>(track.disc.size()), disc.data());
    }
    for (const Marker& marker : markers)
        file.addMarker(marker);
    file.close();
}

struct SavedTrack {
    TrackInfo info;
    std::vector<ContData> cont;
    std::vector<DiscData> disc;
};

SavedTrack readTrack(ZflFile& file, uint32_t index) {
    SavedTrack saved{file.getTrackInfo(index), {}, {}};
    const DataFormat& format = saved.info.format;
    std::vector<unsigned char> cont(std::size_t{saved.info.nCont} * format.contRecordSize);
    std::vector<unsigned char> disc(std::size_t{saved.info.nDisc} * format.discRecordSize);
    file.readContData(index, 0, saved.info.nCont, cont.data());
    file.readDiscData(index, 0, saved.info.nDisc, disc.data());
    DataBuffer buffer(cont.data(), disc.data(), format);
    saved.cont.resize(saved.info.nCont);
    saved.disc.resize(saved.info.nDisc);
    for (uint32_t i = 0; i < saved.info.nCont; ++i) {
        std::memset(&saved.cont[i], 0, sizeof saved.cont[i]);
        buffer.getContData(i, saved.cont[i]);
    }
    for (uint32_t i = 0; i < saved.info.nDisc; ++i) {
        std::memset(&saved.disc[i], 0, sizeof saved.disc[i]);
        buffer.getDiscData(i, saved.disc[i]);
    }
    return saved;
}

class PlayListFileTest : public ::testing::Test {
protected:
    // Saves one track of a one-track source file with the given settings and reads it back.
    SavedTrack saveOne(const PlayTrack& track, const SourceTrack& source = {}) {
        writeSource(sourcePath, {source});
        PlayList list;
        list.files.push_back({sourcePath, 0, {track}, {}});
        PlayListFile::save(list, targetPath);
        zfltest::Opened saved(targetPath);
        EXPECT_EQ(1u, saved.getNTracks());
        return readTrack(saved, 0);
    }

    TempDir dir;
    std::string sourcePath = dir.file("source.zfl");
    std::string targetPath = dir.file("target.zfl");
};

struct OffsetCase {
    const char* name;
    float x, y, z;
    uint8_t rotateHeading;
    uint32_t heading;
    double north, up, east; // metres the position moves
};

TEST_F(PlayListFileTest, PositionOffsetsMoveEveryRecordAndNothingElse) {
    const OffsetCase cases[] = {
        {"10 m north", 0, 0, 10, 0, 0, 10, 0, 0},
        {"5 m up", 0, 5, 0, 0, 0, 0, 5, 0},
        {"10 m east", 10, 0, 0, 0, 0, 0, 0, 10},
        {"forward turned east by the heading", 0, 0, 10, 1, kQuarterTurn, 0, 0, 10},
        {"forward stays north without heading rotation", 0, 0, 10, 0, kQuarterTurn, 10, 0, 0},
        {"right turned south by the heading", 10, 0, 0, 1, kQuarterTurn, -10, 0, 0},
    };
    for (const OffsetCase& c : cases) {
        SCOPED_TRACE(c.name);
        SourceTrack source;
        source.cont = contRecords(250, c.heading);
        PlayTrack track;
        track.offsetX = c.x;
        track.offsetY = c.y;
        track.offsetZ = c.z;
        track.rotateHeading = c.rotateHeading;
        track.rotatePitch = track.rotateBank = 1; // the records are level: no effect
        const SavedTrack saved = saveOne(track, source);
        ASSERT_EQ(source.cont.size(), saved.cont.size());
        for (std::size_t i = 0; i < saved.cont.size(); i += 83) {
            const ContData& before = source.cont[i];
            const ContData& after = saved.cont[i];
            EXPECT_EQ(copyOf(before.timestamp), copyOf(after.timestamp));
            EXPECT_NEAR(c.north, static_cast<double>(after.latitude - before.latitude) / kTwoTo32, 0.001);
            EXPECT_NEAR(c.up, static_cast<double>(after.altitude - before.altitude) / kTwoTo32, 0.001);
            EXPECT_NEAR(c.east, static_cast<double>(after.longitude - before.longitude) / kLongitudePerMetre, 0.001);
            EXPECT_EQ(copyOf(before.heading), copyOf(after.heading));
            EXPECT_EQ(copyOf(before.elevators), copyOf(after.elevators));
        }
    }
}

TEST_F(PlayListFileTest, DeselectedGroupsShortenTheRecordsButKeepTheirCount) {
    PlayTrack track;
    track.contFlags = ContGroup::FlightControls;
    track.discFlags = DiscGroup::Flaps;
    const SourceTrack source;
    const SavedTrack saved = saveOne(track, source);
    EXPECT_EQ(ContGroup::FlightControls, copyOf(saved.info.format.ContFlags));
    EXPECT_EQ(DiscGroup::Flaps, copyOf(saved.info.format.DiscFlags));
    EXPECT_EQ(contRecordSize(ContGroup::FlightControls, kEngines), copyOf(saved.info.format.contRecordSize));
    EXPECT_LT(copyOf(saved.info.format.contRecordSize), copyOf(fullFormat().contRecordSize));
    EXPECT_EQ(discRecordSize(DiscGroup::Flaps), copyOf(saved.info.format.discRecordSize));
    ASSERT_EQ(source.cont.size(), saved.cont.size());
    ASSERT_EQ(source.disc.size(), saved.disc.size());
    for (std::size_t i = 0; i < saved.cont.size(); ++i) {
        EXPECT_EQ(copyOf(source.cont[i].elevators), copyOf(saved.cont[i].elevators));
        EXPECT_EQ(0, copyOf(saved.cont[i].throttle[0])) << "dropped group";
    }
    for (std::size_t i = 0; i < saved.disc.size(); ++i)
        EXPECT_EQ(copyOf(source.disc[i].flaps), copyOf(saved.disc[i].flaps));
}

TEST_F(PlayListFileTest, AVerifiedTrackIsSavedWithoutDigest) {
    SourceTrack source;
    source.original = 1;
    writeSource(sourcePath, {source});
    ASSERT_EQ(1, zfltest::Opened(sourcePath).getTrackInfo(0).originalRecording) << "the source must verify";
    EXPECT_EQ(0, saveOne(PlayTrack{}, source).info.originalRecording);
}

TEST_F(PlayListFileTest, TitleAndTailNumberOverridesAreCutToWhatAHeaderHolds) {
    struct Case {
        std::string title, tailNumber, savedTitle, savedTailNumber;
    };
    const Case cases[] = {
        {"", "", "Cessna Skyhawk", "N12345"},
        {"Beech Baron 58", "", "Beech Baron 58", "N12345"},
        {"", "D-EFGH", "Cessna Skyhawk", "D-EFGH"},
        {std::string(300, 'T'), "ABCDEFGHIJK", std::string(255, 'T'), "ABCDEFGHIJ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.substr(0, 20) + " / " + c.tailNumber);
        PlayTrack track;
        track.title = c.title;
        track.tailNumber = c.tailNumber;
        const SavedTrack saved = saveOne(track);
        EXPECT_EQ(c.savedTitle, saved.info.title);
        EXPECT_EQ(c.savedTailNumber, saved.info.tailNumber);
    }
}

TEST_F(PlayListFileTest, TimeOffsetsShiftRecordsAndMarkersOfEachFile) {
    const std::string second = dir.file("second.zfl");
    writeSource(sourcePath, {SourceTrack{}, SourceTrack{}},
                {zfltest::marker(20000, Marker::None, Marker::kChapter, "one"),
                 zfltest::marker(30000, Marker::Pause, 0, "two"),
                 zfltest::marker(40000, Marker::DisplayText, 5, "three")});
    writeSource(second, {SourceTrack{}}, {zfltest::marker(50000, Marker::Pause, 0, "four")});
    PlayTrack delayed;
    delayed.index = 1;
    delayed.timeOffset = 5000;
    PlayList list;
    list.files.push_back({sourcePath, 20000, {delayed, PlayTrack{}}, {2, 0}});
    list.files.push_back({second, 70000, {PlayTrack{}}, {0}});
    PlayListFile::save(list, targetPath);

    zfltest::Opened saved(targetPath);
    ASSERT_EQ(3u, saved.getNTracks());
    const SourceTrack source;
    const Ticks shifts[] = {25000, 20000, 70000};
    for (uint32_t t = 0; t < 3; ++t) {
        const SavedTrack track = readTrack(saved, t);
        ASSERT_EQ(source.cont.size(), track.cont.size());
        EXPECT_EQ(source.cont.front().timestamp + shifts[t], copyOf(track.cont.front().timestamp)) << t;
        EXPECT_EQ(source.cont.back().timestamp + shifts[t], copyOf(track.cont.back().timestamp)) << t;
        EXPECT_EQ(source.disc[1].timestamp + shifts[t], copyOf(track.disc[1].timestamp)) << t;
    }
    ASSERT_EQ(3u, saved.getNMarkers());
    const std::pair<Ticks, const char*> markers[] = {{60000, "three"}, {40000, "one"}, {120000, "four"}};
    for (uint32_t m = 0; m < 3; ++m) {
        const Marker marker = saved.readMarker(m);
        EXPECT_EQ(markers[m].first, marker.time);
        EXPECT_EQ(markers[m].second, marker.text);
    }
}

TEST_F(PlayListFileTest, AFailedSaveLeavesNoFileAndAnEarlierOneAsItWas) {
    writeSource(sourcePath, {SourceTrack{}});
    PlayTrack missing;
    missing.index = 7; // the source has one track
    PlayList list;
    list.files.push_back({sourcePath, 0, {PlayTrack{}, missing}, {}});

    EXPECT_THROW(PlayListFile::save(list, targetPath), ZephrelException);
    EXPECT_FALSE(std::filesystem::exists(targetPath));

    const Bytes earlier = {'o', 'l', 'd'};
    { std::ofstream(targetPath, std::ios::binary).write("old", 3); }
    EXPECT_THROW(PlayListFile::save(list, targetPath), ZephrelException);
    EXPECT_EQ(earlier, readBytes(targetPath));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path()), {}) - 1)
        << "only the source and the earlier target remain";

    list.files[0].fileName = dir.file("missing.zfl");
    EXPECT_THROW(PlayListFile::save(list, dir.file("other.zfl")), ZephrelException);
    EXPECT_FALSE(std::filesystem::exists(dir.file("other.zfl")));
}

} // namespace
