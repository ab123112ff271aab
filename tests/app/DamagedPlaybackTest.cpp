// Damaged recordings chosen to play, on the user aircraft and as traffic, through the controller
// as the play commands reach it: cut short anywhere, with their sizes and counts edited, and with
// bytes changed at random. Each is refused with a message box or plays and stops cleanly; none
// leaves anything playing or the play commands disabled, and none takes much memory.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "common/ZflFormat.h"
#include "harness/ControllerPlayback.h"
#include "support/TempLog.h"
#include "support/ZflTestFiles.h"

using namespace zfltest;

namespace {

struct Damaged {
    std::string name;
    Bytes bytes;
};

// Two installed aircraft (the first with a digest) and a marker of each kind that acts.
std::vector<TrackData> tracks() {
    return {makeTrack(trackInfo("Twin Jet 737-800 House", 2, ContGroup::FlightControls | ContGroup::Throttles,
                                DiscGroup::Gear | DiscGroup::Flaps, 0, 0, 1),
                      60, 5, 3),
            makeTrack(trackInfo("Amphibian Beaver Floats", 1, ContGroup::All, DiscGroup::All), 40, 4, 9)};
}

std::vector<Marker> markers() {
    return {marker(20000, Marker::DisplayText, 5, "text"), marker(30000, Marker::Pause, 0, ""),
            marker(40000, Marker::SwitchCamera, Marker::kChapter, "camera"),
            marker(50000, Marker::PlaySound, 0, "missing.wav")};
}

// A damaged count that sizes memory took gigabytes; the whole run needs a few megabytes.
constexpr std::size_t kMostKilobytes = 100 * 1024;
// AddressSanitizer holds freed memory back (256 MB by default) before it reuses any.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kQuarantineKilobytes = 256 * 1024;
#else
constexpr std::size_t kQuarantineKilobytes = 0;
#endif

std::size_t peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss);
}

// The recording cut short every few bytes; every size and count field set to values that say
// too little, far too much and wrap; one to three bytes changed at random, anywhere.
std::vector<Damaged> damagedVersionsOf(const Bytes& original, const Layout& layout) {
    std::vector<Damaged> damaged;
    for (std::size_t size = 0; size < original.size(); size += size < 400 ? 3 : 37)
        damaged.push_back({"cut to " + std::to_string(size), Bytes(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(size))});

    std::vector<std::pair<std::string, std::size_t>> fields = {
        {"version", offsetof(Zfl::FileHeader, version)},      {"tracks size", offsetof(Zfl::FileHeader, tracksSize)},
        {"track count", offsetof(Zfl::FileHeader, nTracks)},  {"markers size", offsetof(Zfl::FileHeader, markersSize)},
        {"marker count", offsetof(Zfl::FileHeader, nMarkers)}};
    for (std::size_t t = 0; t < layout.trackHeader.size(); ++t) {
        const std::size_t at = layout.trackHeader[t];
        const std::string track = "track " + std::to_string(t) + " ";
        for (const auto& [name, offset] : std::vector<std::pair<std::string, std::size_t>>{
                 {"data size", offsetof(Zfl::TrackHeader, dataSize)},
                 {"continuous flags", offsetof(Zfl::TrackHeader, format) + offsetof(DataFormat, ContFlags)},
                 {"discrete flags", offsetof(Zfl::TrackHeader, format) + offsetof(DataFormat, DiscFlags)},
                 {"continuous size", offsetof(Zfl::TrackHeader, format) + offsetof(DataFormat, contRecordSize)},
                 {"discrete size", offsetof(Zfl::TrackHeader, format) + offsetof(DataFormat, discRecordSize)},
                 {"continuous count", offsetof(Zfl::TrackHeader, nCont)},
                 {"discrete count", offsetof(Zfl::TrackHeader, nDisc)}})
            fields.emplace_back(track + name, at + offset);
    }
    for (const uint32_t value : {0u, 1u, 0x7fffffffu, 0xffffffffu})
        for (const auto& [name, offset] : fields) {
            Bytes bytes = original;
            store<uint32_t>(bytes, offset, value);
            damaged.push_back({name + " " + std::to_string(value), bytes});
        }
    for (const uint16_t value : {uint16_t{0}, uint16_t{1}, uint16_t{0xffff}}) {
        Bytes headerSizes = original, markerLengths = original;
        store<uint16_t>(headerSizes, offsetof(Zfl::FileHeader, headerSize), value);
        store<uint16_t>(headerSizes, layout.trackHeader[0], value);
        for (const std::size_t at : layout.marker)
            store<uint16_t>(markerLengths, at, value);
        damaged.push_back({"header sizes " + std::to_string(value), headerSizes});
        damaged.push_back({"marker lengths " + std::to_string(value), markerLengths});
    }

    std::mt19937 random(20260612);
    for (int round = 0; round < 150; ++round) {
        Bytes bytes = original;
        for (auto k = 0u, changes = 1 + static_cast<uint32_t>(random() % 3); k < changes; ++k)
            bytes[random() % bytes.size()] = random() % 4 == 0 ? 0xff : static_cast<unsigned char>(random());
        damaged.push_back({"changed at random, round " + std::to_string(round), bytes});
    }
    return damaged;
}

using DamagedPlaybackTest = TempLogTest;

TEST_F(DamagedPlaybackTest, EveryDamagedRecordingIsRefusedOrPlaysAndStopsCleanly) {
    TempDir dir;
    const std::string path = dir.file("flight.zfl");
    writeRecording(path, tracks(), markers());
    const Bytes original = readBytes(path);
    const std::vector<Damaged> damaged = damagedVersionsOf(original, layoutOf(tracks(), markers()));
    ControllerPlayback controller(dir.path().string());
    const std::size_t peakBefore = peakKilobytes();

    for (const bool asTraffic : {false, true}) {
        const ControllerPlayback::Outcome intact = controller.play(path, asTraffic);
        ASSERT_TRUE(intact.played && intact.stopped) << "the undamaged recording";
        int refused = 0;
        for (const Damaged& d : damaged) {
            SCOPED_TRACE(d.name + (asTraffic ? ", as traffic" : ", on the user aircraft"));
            writeBytes(path, d.bytes);
            const ControllerPlayback::Outcome outcome = controller.play(path, asTraffic);
            EXPECT_TRUE(outcome.played || outcome.messageBoxes > 0) << "nothing played and nothing said";
            EXPECT_TRUE(outcome.stopped);
            refused += outcome.played ? 0 : 1;
        }
        // A reader that refuses nothing checks nothing: every cut and most edits are refused.
        EXPECT_GT(refused, static_cast<int>(damaged.size() / 2));
        writeBytes(path, original);
        const ControllerPlayback::Outcome after = controller.play(path, asTraffic);
        EXPECT_TRUE(after.played && after.stopped && after.messageBoxes == 0) << "the module works on";
    }
    EXPECT_LT(peakKilobytes() - peakBefore, kMostKilobytes + kQuarantineKilobytes);
}

} // namespace
