#include <gtest/gtest.h>

#include "Packed.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "DataBuffer.h"
#include "TempDir.h"
#include "ZflFile.h"
#include "ZflFormat.h"
#include "ZflTestFiles.h"

using namespace zfltest;

namespace {

using Random = std::mt19937;

uint32_t below(Random& random, uint32_t n) { return static_cast<uint32_t>(random() % n); }

template <typename T> T randomStruct(Random& random) {
    unsigned char bytes[sizeof(T)];
    for (auto& b : bytes)
        b = static_cast<unsigned char>(random());
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// The fields of a full record that a track with this format stores; everything else zero.
ContData presentOnly(const ContData& c, const DataFormat& format) {
    ContData m{};
    auto keep = [&](std::size_t offset, std::size_t size) {
        std::memcpy(reinterpret_cast<unsigned char*>(&m) + offset, reinterpret_cast<const unsigned char*>(&c) + offset,
                    size);
    };
    const uint32_t flags = format.ContFlags;
    const std::size_t engines = 2u * std::min<uint32_t>(format.nEngines, 4);
    keep(0, 64);
    if (flags & ContGroup::FlightControls)
        keep(offsetof(ContData, elevators), 6);
    if (flags & ContGroup::Throttles)
        keep(offsetof(ContData, throttle), engines);
    if (flags & ContGroup::Propellers)
        keep(offsetof(ContData, prop), engines);
    if (flags & ContGroup::Mixtures)
        keep(offsetof(ContData, mix), engines);
    if (flags & ContGroup::Spoilers)
        keep(offsetof(ContData, spoilers), 2);
    if (flags & ContGroup::Airspeeds)
        keep(offsetof(ContData, IAS), 8);
    if (flags & ContGroup::MainExit)
        keep(offsetof(ContData, mainexit), 4);
    if (flags & ContGroup::Tailhook)
        keep(offsetof(ContData, tailhook), 4);
    if (flags & ContGroup::WingFold)
        keep(offsetof(ContData, wingfoldL), 8);
    if (flags & ContGroup::AmbientWind)
        keep(offsetof(ContData, windDir), 4);
    if (flags & ContGroup::Mach)
        keep(offsetof(ContData, mach), 4);
    if (flags & ContGroup::TimeOfDay)
        keep(offsetof(ContData, hour), 3);
    if (flags & ContGroup::ExtendedControls)
        keep(offsetof(ContData, extControls), 20);
    if (flags & ContGroup::ExtendedFlaps)
        keep(offsetof(ContData, extFlaps), 16);
    if (flags & ContGroup::ExtendedGear)
        keep(offsetof(ContData, extGear), 20);
    return m;
}

DiscData presentOnly(const DiscData& d, const DataFormat& format) {
    DiscData m{};
    auto keep = [&](std::size_t offset, std::size_t size) {
        std::memcpy(reinterpret_cast<unsigned char*>(&m) + offset, reinterpret_cast<const unsigned char*>(&d) + offset,
                    size);
    };
    const uint32_t flags = format.DiscFlags;
    keep(0, 5);
    if (flags & DiscGroup::Flaps)
        keep(offsetof(DiscData, flaps), 1);
    if (flags & DiscGroup::Gear)
        keep(offsetof(DiscData, gear), 2);
    if (flags & DiscGroup::Lights)
        keep(offsetof(DiscData, lights), 2);
    if (flags & DiscGroup::ParkingBrake)
        keep(offsetof(DiscData, parkbrake), 1);
    if (flags & DiscGroup::Engines)
        keep(offsetof(DiscData, engines), 1);
    if (flags & DiscGroup::NavRadios)
        keep(offsetof(DiscData, nav1), 12);
    if (flags & DiscGroup::ComRadios)
        keep(offsetof(DiscData, com), 6);
    if (flags & DiscGroup::Smoke)
        keep(offsetof(DiscData, smoke), 1);
    if (flags & DiscGroup::Autopilot)
        keep(offsetof(DiscData, autopilot), 1);
    if (flags & DiscGroup::NoseVisor)
        keep(offsetof(DiscData, concnose), 1);
    if (flags & DiscGroup::Date)
        keep(offsetof(DiscData, day), 4);
    return m;
}

uint32_t randomFlags(Random& random, uint32_t all) {
    switch (below(random, 4)) {
    case 0:
        return 0;
    case 1:
        return all;
    default:
        return static_cast<uint32_t>(random()) & all;
    }
}

std::string randomText(Random& random, uint32_t maxLength) {
    std::string text(below(random, maxLength + 1), ' ');
    for (char& c : text)
        c = static_cast<char>(' ' + below(random, 95));
    return text;
}

// A track with random groups, engines, record sizes (sometimes larger than the groups need, or
// left for the writer to compute) and records; the stored records' extra bytes are random too.
struct GeneratedTrack {
    TrackData stored;
    std::vector<ContData> cont; // the full records as handed to DataBuffer
    std::vector<DiscData> disc;
};

GeneratedTrack randomTrack(Random& random) {
    const auto nEngines = static_cast<uint8_t>(below(random, 5));
    const uint32_t contFlags = randomFlags(random, ContGroup::All);
    const uint32_t discFlags = randomFlags(random, DiscGroup::All);
    const uint32_t contExtra = below(random, 2) ? 0 : 1 + below(random, 12);
    const uint32_t discExtra = below(random, 2) ? 0 : 1 + below(random, 6);
    const bool computeSizes = contExtra == 0 && discExtra == 0 && below(random, 2) == 0;
    const uint32_t contSize = contRecordSize(contFlags, nEngines) + contExtra;
    const uint32_t discSize = discRecordSize(discFlags) + discExtra;

    GeneratedTrack track;
    track.stored.info =
        trackInfo(randomText(random, 255), nEngines, contFlags, discFlags, computeSizes ? 0 : contSize,
                  computeSizes ? 0 : discSize, static_cast<uint8_t>(below(random, 2)), randomText(random, 10),
                  static_cast<float>(below(random, 1000)) / 8.0f);
    const uint32_t nCont = below(random, 6) == 0 ? 0 : below(random, 40);
    const uint32_t nDisc = below(random, 4) == 0 ? 0 : below(random, 12);
    track.stored.cont = makeRecords(nCont, contSize, 0, 0, static_cast<uint32_t>(random()));
    track.stored.disc = makeRecords(nDisc, discSize, 0, 0, static_cast<uint32_t>(random()));

    DataFormat format = track.stored.info.format;
    format.contRecordSize = contSize;
    format.discRecordSize = discSize;
    DataBuffer buffer(track.stored.cont.data(), track.stored.disc.data(), format);
    uint32_t time = below(random, 100000);
    for (uint32_t i = 0; i < nCont; ++i) {
        ContData c = randomStruct<ContData>(random);
        c.timestamp = time += 1 + below(random, 5000);
        buffer.setContData(i, c);
        track.cont.push_back(c);
    }
    time = below(random, 100000);
    for (uint32_t i = 0; i < nDisc; ++i) {
        DiscData d = randomStruct<DiscData>(random);
        d.timestamp = time += 1 + below(random, 50000);
        buffer.setDiscData(i, d);
        track.disc.push_back(d);
    }
    return track;
}

Marker randomMarker(Random& random) {
    Marker m;
    m.time = static_cast<uint32_t>(random());
    m.type = below(random, 6); // 5: a type this version does not know
    m.flags = static_cast<uint32_t>(random());
    m.text = randomText(random, 300);
    for (auto& b : m.cameraId)
        b = static_cast<uint8_t>(random());
    m.include = static_cast<uint8_t>(below(random, 2));
    return m;
}

// Hands the records over in random pieces, as a recorder flushing its buffer would.
template <typename Write>
void writeInPieces(Random& random, uint32_t count, uint32_t size, const unsigned char* records, Write write) {
    for (uint32_t i = 0; i < count;) {
        const uint32_t n = std::min(count - i, below(random, 8));
        write(n, records + std::size_t{i} * size);
        i += n;
    }
}

struct GeneratedRecording {
    std::vector<GeneratedTrack> tracks;
    std::vector<TrackData> stored; // as handed to the writer, empty tracks included
    std::vector<Marker> markers;
};

GeneratedRecording writeRandomRecording(Random& random, const std::string& path) {
    GeneratedRecording recording;
    const uint32_t nTracks = 1 + below(random, 3);
    for (uint32_t t = 0; t < nTracks; ++t) {
        recording.tracks.push_back(randomTrack(random));
        recording.stored.push_back(recording.tracks.back().stored);
    }
    const uint32_t nMarkers = below(random, 4);
    for (uint32_t m = 0; m < nMarkers; ++m)
        recording.markers.push_back(randomMarker(random));

    std::remove(path.c_str());
    ZflFile file;
    file.open(path, ZflFile::Write);
    for (const TrackData& track : recording.stored) {
        file.addTrack(track.info);
        writeInPieces(random, track.nCont(), track.contSize(), track.cont.data(),
                      [&](uint32_t n, const unsigned char* p) { file.writeContData(n, p); });
        writeInPieces(random, track.nDisc(), track.discSize(), track.disc.data(),
                      [&](uint32_t n, const unsigned char* p) { file.writeDiscData(n, p); });
    }
    for (const Marker& m : recording.markers)
        file.addMarker(m);
    file.close();
    return recording;
}

void expectTrack(ZflFile& file, uint32_t index, const GeneratedTrack& expected, Random& random) {
    const TrackData& stored = expected.stored;
    const TrackInfo& info = file.getTrackInfo(index);
    EXPECT_STREQ(stored.info.title, info.title);
    EXPECT_STREQ(stored.info.tailNumber, info.tailNumber);
    EXPECT_EQ(copyOf(stored.info.staticCGtoGround), copyOf(info.staticCGtoGround));
    EXPECT_EQ(copyOf(stored.info.format.nEngines), copyOf(info.format.nEngines));
    EXPECT_EQ(copyOf(stored.info.format.ContFlags), copyOf(info.format.ContFlags));
    EXPECT_EQ(copyOf(stored.info.format.DiscFlags), copyOf(info.format.DiscFlags));
    EXPECT_EQ(stored.contSize(), copyOf(info.format.contRecordSize));
    EXPECT_EQ(stored.discSize(), copyOf(info.format.discRecordSize));
    ASSERT_EQ(stored.nCont(), copyOf(info.nCont));
    ASSERT_EQ(stored.nDisc(), copyOf(info.nDisc));
    EXPECT_EQ(stored.info.originalRecording, info.originalRecording);

    Bytes cont = readCont(file, index);
    Bytes disc = readDisc(file, index);
    EXPECT_EQ(stored.cont, cont);
    EXPECT_EQ(stored.disc, disc);

    DataBuffer buffer(cont.data(), disc.data(), info.format);
    for (uint32_t i = 0; i < info.nCont; ++i) {
        ContData got{};
        buffer.getContData(i, got);
        const ContData want = presentOnly(expected.cont[i], info.format);
        EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << "continuous record " << i;
    }
    for (uint32_t i = 0; i < info.nDisc; ++i) {
        DiscData got{};
        buffer.getDiscData(i, got);
        const DiscData want = presentOnly(expected.disc[i], info.format);
        EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << "discrete record " << i;
    }

    uint32_t contStart = 1, contEnd = 1, discStart = 1, discEnd = 1;
    file.getTimeRanges(index, contStart, contEnd, discStart, discEnd);
    EXPECT_EQ(copyOf(info.nCont) ? copyOf(expected.cont.front().timestamp) : 0, contStart);
    EXPECT_EQ(copyOf(info.nCont) ? copyOf(expected.cont.back().timestamp) : 0, contEnd);
    EXPECT_EQ(copyOf(info.nDisc) ? copyOf(expected.disc.front().timestamp) : 0, discStart);
    EXPECT_EQ(copyOf(info.nDisc) ? copyOf(expected.disc.back().timestamp) : 0, discEnd);
    EXPECT_EQ(contStart, file.getStartTime(index));
    EXPECT_EQ(contEnd, file.getEndTime(index));

    // A random window of records, which may reach past the end.
    const uint32_t first = below(random, info.nCont + 2);
    const uint32_t count = below(random, info.nCont + 3);
    Bytes window(std::size_t{count} * info.format.contRecordSize);
    const uint32_t expectedCount = first >= info.nCont ? 0 : std::min(count, info.nCont - first);
    ASSERT_EQ(expectedCount, file.readContData(index, first, count, window.data()));
    EXPECT_TRUE(std::equal(window.begin(),
                           window.begin() + static_cast<std::ptrdiff_t>(std::size_t{expectedCount} * stored.contSize()),
                           stored.cont.begin() + static_cast<std::ptrdiff_t>(std::size_t{first} * stored.contSize())));
}

void expectMarker(const Marker& written, const Marker& read) {
    EXPECT_EQ(copyOf(written.time), copyOf(read.time));
    EXPECT_EQ(copyOf(written.type), copyOf(read.type));
    EXPECT_EQ(copyOf(written.flags), copyOf(read.flags));
    EXPECT_EQ(written.text.substr(0, 255), read.text);
    const std::array<uint8_t, 16> noCamera{};
    EXPECT_EQ(copyOf(written.type) == Marker::SwitchCamera ? written.cameraId : noCamera, read.cameraId);
    EXPECT_EQ(0, read.include);
}

constexpr uint32_t kCases = 300;

class ZflFilePropertyTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("random.zfl");
};

TEST_F(ZflFilePropertyTest, RandomRecordingsReadBackExactly) {
    for (uint32_t seed = 1; seed <= kCases; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Random random(seed);
        const GeneratedRecording recording = writeRandomRecording(random, path);

        std::vector<const GeneratedTrack*> kept;
        for (const GeneratedTrack& t : recording.tracks)
            if (!t.stored.empty())
                kept.push_back(&t);
        EXPECT_EQ(layoutOf(recording.stored, recording.markers).size, std::filesystem::file_size(path));

        ZflFile file;
        file.open(path, ZflFile::Read);
        ASSERT_EQ(kept.size(), file.getNTracks());
        for (uint32_t t = 0; t < kept.size(); ++t) {
            SCOPED_TRACE("track " + std::to_string(t));
            expectTrack(file, t, *kept[t], random);
        }
        ASSERT_EQ(recording.markers.size(), file.getNMarkers());
        for (uint32_t m = 0; m < recording.markers.size(); ++m)
            expectMarker(recording.markers[m], file.readMarker(m));
        if (HasFailure())
            return;
    }
}

TEST_F(ZflFilePropertyTest, AnySingleChangedDataByteClearsOriginalRecordingOfItsTrackOnly) {
    uint32_t flipped = 0;
    for (uint32_t seed = 1001; seed <= 1000 + kCases; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Random random(seed);
        const GeneratedRecording recording = writeRandomRecording(random, path);
        const Layout layout = layoutOf(recording.stored, recording.markers);
        std::vector<const TrackData*> kept;
        for (const TrackData& t : recording.stored)
            if (!t.empty())
                kept.push_back(&t);
        std::vector<uint32_t> digested;
        for (uint32_t t = 0; t < kept.size(); ++t)
            if (kept[t]->info.originalRecording)
                digested.push_back(t);
        if (digested.empty())
            continue;

        const uint32_t victim = digested[below(random, static_cast<uint32_t>(digested.size()))];
        const std::size_t dataBytes = kept[victim]->cont.size() + kept[victim]->disc.size();
        Bytes bytes = readBytes(path);
        bytes[layout.trackData[victim] + below(random, static_cast<uint32_t>(dataBytes))] ^=
            static_cast<unsigned char>(1u << below(random, 8));
        replaceFile(path, bytes);
        ++flipped;

        ZflFile file;
        file.open(path, ZflFile::Read);
        for (uint32_t t = 0; t < kept.size(); ++t)
            EXPECT_EQ(t == victim ? 0 : kept[t]->info.originalRecording, file.getTrackInfo(t).originalRecording)
                << "track " << t;
        if (HasFailure())
            return;
    }
    // Half the tracks carry a digest: most cases have one to damage.
    EXPECT_GT(flipped, kCases / 2);
}

} // namespace
