#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/RecordLayout.h"
#include "support/ZflTestFiles.h"

using namespace zfltest;

namespace {

using Random = std::mt19937;

uint32_t below(Random& random, uint32_t n) { return static_cast<uint32_t>(random() % n); }

uint32_t randomFlags(Random& random, uint32_t all) {
    const uint32_t pick = below(random, 4);
    return pick == 0 ? 0 : pick == 1 ? all : static_cast<uint32_t>(random()) & all;
}

std::string randomText(Random& random, uint32_t maxLength) {
    std::string text(below(random, maxLength + 1), ' ');
    for (char& c : text)
        c = static_cast<char>(' ' + below(random, 95));
    return text;
}

// A track with random groups, engines, record sizes (sometimes larger than the groups need, or
// left for the writer to compute) and records with rising timestamps and random bytes otherwise.
TrackData randomTrack(Random& random) {
    const auto nEngines = static_cast<uint8_t>(below(random, 5));
    const uint32_t contFlags = randomFlags(random, ContGroup::All);
    const uint32_t discFlags = randomFlags(random, DiscGroup::All);
    const uint32_t contExtra = below(random, 2) ? 0 : 1 + below(random, 12);
    const uint32_t discExtra = below(random, 2) ? 0 : 1 + below(random, 6);
    const bool computeSizes = contExtra == 0 && discExtra == 0 && below(random, 2) == 0;
    // Sized by the documented layout, not by the code under test.
    const auto contSize = static_cast<uint32_t>(packing::pack(ContData{}, contFlags, nEngines).size()) + contExtra;
    const auto discSize = static_cast<uint32_t>(packing::pack(DiscData{}, discFlags, nEngines).size()) + discExtra;
    TrackData track;
    track.info = trackInfo(randomText(random, 255), nEngines, contFlags, discFlags, computeSizes ? 0 : contSize,
                           computeSizes ? 0 : discSize, static_cast<uint8_t>(below(random, 2)),
                           randomText(random, 10), static_cast<float>(below(random, 1000)) / 8.0f);
    const uint32_t nCont = below(random, 6) == 0 ? 0 : below(random, 40);
    const uint32_t nDisc = below(random, 4) == 0 ? 0 : below(random, 12);
    track.cont = makeRecords(nCont, contSize, below(random, 100000), 1 + below(random, 5000), below(random, 1u << 31));
    track.disc = makeRecords(nDisc, discSize, below(random, 100000), 1 + below(random, 50000), below(random, 1u << 31));
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

// Hands the records over in random pieces, empty ones too, as a recorder flushing its buffer would.
template <typename Write>
void writeInPieces(Random& random, uint32_t count, uint32_t size, const unsigned char* records, Write write) {
    for (uint32_t i = 0; i < count;) {
        const uint32_t n = std::min(count - i, below(random, 8));
        write(n, records + std::size_t{i} * size);
        i += n;
    }
}

struct Recording {
    std::vector<TrackData> tracks; // as handed to the writer, empty tracks included
    std::vector<Marker> markers;
};

Recording writeRandomRecording(Random& random, const std::string& path) {
    Recording recording;
    for (uint32_t t = 0, nTracks = 1 + below(random, 3); t < nTracks; ++t)
        recording.tracks.push_back(randomTrack(random));
    for (uint32_t m = 0, nMarkers = below(random, 4); m < nMarkers; ++m)
        recording.markers.push_back(randomMarker(random));
    std::remove(path.c_str());
    ZflFile file;
    file.open(path, ZflFile::Write);
    for (const TrackData& track : recording.tracks) {
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

uint32_t timestamp(const Bytes& records, uint32_t index, uint32_t size) {
    return records.empty() ? 0 : load<uint32_t>(records, std::size_t{index} * size);
}

// Beyond what expectTrack checks: the time getters, and a random window of records, which may
// reach past the end.
void expectTimesAndWindow(ZflFile& file, uint32_t index, const TrackData& track, Random& random) {
    const uint32_t nCont = track.nCont(), nDisc = track.nDisc(), size = track.contSize();
    uint32_t contStart = 1, contEnd = 1, discStart = 1, discEnd = 1;
    file.getTimeRanges(index, contStart, contEnd, discStart, discEnd);
    EXPECT_EQ(timestamp(track.cont, 0, size), contStart);
    EXPECT_EQ(timestamp(track.cont, nCont - 1, size), contEnd);
    EXPECT_EQ(timestamp(track.disc, 0, track.discSize()), discStart);
    EXPECT_EQ(timestamp(track.disc, nDisc - 1, track.discSize()), discEnd);
    EXPECT_EQ(contStart, file.getStartTime(index));
    EXPECT_EQ(contEnd, file.getEndTime(index));

    const uint32_t first = below(random, nCont + 2);
    const uint32_t count = below(random, nCont + 3);
    Bytes window(std::size_t{count} * size);
    const uint32_t expected = first >= nCont ? 0 : std::min(count, nCont - first);
    ASSERT_EQ(expected, file.readContData(index, first, count, window.data()));
    EXPECT_TRUE(std::equal(window.begin(), window.begin() + static_cast<std::ptrdiff_t>(expected * size),
                           track.cont.begin() + static_cast<std::ptrdiff_t>(std::size_t{first} * size)));
}

constexpr uint32_t kCases = 300;

using ZflFilePropertyTest = TempFileTest;

TEST_F(ZflFilePropertyTest, RandomRecordingsReadBackExactly) {
    for (uint32_t seed = 1; seed <= kCases; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Random random(seed);
        const Recording recording = writeRandomRecording(random, path);
        EXPECT_EQ(layoutOf(recording.tracks, recording.markers).size, std::filesystem::file_size(path));
        expectRecording(path, recording.tracks, recording.markers);
        Opened file(path);
        const auto kept = storedTracks(recording.tracks);
        for (uint32_t t = 0; t < kept.size() && t < file.getNTracks(); ++t) {
            SCOPED_TRACE("track " + std::to_string(t));
            expectTimesAndWindow(file, t, *kept[t], random);
        }
        if (HasFailure())
            return;
    }
}

TEST_F(ZflFilePropertyTest, AnySingleChangedDataByteClearsOriginalRecordingOfItsTrackOnly) {
    uint32_t flipped = 0;
    for (uint32_t seed = 1001; seed <= 1000 + kCases; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Random random(seed);
        const Recording recording = writeRandomRecording(random, path);
        const Layout layout = layoutOf(recording.tracks, recording.markers);
        const auto kept = storedTracks(recording.tracks);
        std::vector<uint32_t> digested;
        for (uint32_t t = 0; t < kept.size(); ++t)
            if (kept[t]->info.originalRecording)
                digested.push_back(t);
        if (digested.empty())
            continue;

        const uint32_t victim = digested[below(random, static_cast<uint32_t>(digested.size()))];
        const auto dataBytes = static_cast<uint32_t>(kept[victim]->cont.size() + kept[victim]->disc.size());
        Bytes bytes = readBytes(path);
        bytes[layout.trackData[victim] + below(random, dataBytes)] ^= static_cast<unsigned char>(1u << below(random, 8));
        writeBytes(path, bytes);
        ++flipped;

        Opened file(path);
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
