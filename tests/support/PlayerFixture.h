#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/ZflFile.h"
#include "harness/ModuleInSimulator.h"
#include "playback/Player.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"
#include "support/TempLog.h"

// What the player shows, fires and asks besides the simulator.
class SeenByPlayer : public PlaybackControlView, public FlightDataView, public MarkerActions, public PlayerPrompts {
public:
    struct Loop {
        double in, out;
        bool on;
    };
    void setPosition(double) override {}
    void setLoop(double in, double out, bool on) override { loops.push_back({in, out, on}); }
    void setSpeed(float speed) override { speeds.push_back(speed); }
    bool isShown() const override { return dataShown; }
    void setData(const ContData& cont, const DiscData&, const DataFormat&) override { data.push_back(cont); }
    void fire(const Marker& marker) override { fired.push_back(marker); }
    void refuseDuringMultiplayer() override { ++multiplayerRefusals; }
    bool convertOldRecording(const std::string& path) override {
        oldRecordings.push_back(path);
        if (convertOld)
            ZflFile::convertV1File(path);
        return convertOld;
    }
    void offerNewMarkers(const std::vector<Marker>& markers) override {
        offered.push_back(markers);
        if (onOffer)
            onOffer();
    }

    std::vector<Loop> loops;
    std::vector<float> speeds;
    bool dataShown = false;
    std::vector<ContData> data;
    std::vector<Marker> fired;
    int multiplayerRefusals = 0;
    std::vector<std::string> oldRecordings; // asked to be converted
    bool convertOld = false;                // the answer
    std::vector<std::vector<Marker>> offered; // one list per stop
    std::function<void()> onOffer;
};

// A recorded track: continuous records every second from `first` to `last`, the latitude moving
// by latitudePerTick per 1/10000 s, everything else constant; one discrete record at `first`.
struct WrittenTrack {
    WrittenTrack(std::string aircraft, uint32_t from = 0, uint32_t to = 600000, std::string tail = "",
                 float cgHeight = 0)
        : title(std::move(aircraft)), first(from), last(to), tailNumber(std::move(tail)), cg(cgHeight) {}

    std::string title;
    uint32_t first, last;
    std::string tailNumber;
    float cg; // feet
    int64_t latitudePerTick = 0;
    uint32_t heading = 0;
    uint32_t discFlags = 0;
    int16_t gear = 0;

    // 47.5 N, 8.5 E, 500 m: away from where the simulator parks new aircraft.
    static constexpr int64_t kLatitude = static_cast<int64_t>(47.5 / 90 * 10001750 * 4294967296.0);
    static constexpr int64_t kLongitude = static_cast<int64_t>(8.5 / 360 * 18446744073709551616.0);
    static constexpr int64_t kAltitude = 500LL << 32;

    // The state at a time of the file: interpolation is exact for times a multiple of 625 apart.
    int64_t latitudeAt(uint32_t time) const {
        const uint32_t t = time < first ? first : time > last ? last : time;
        return kLatitude + static_cast<int64_t>(t) * latitudePerTick;
    }
};

// A player driven from frames of the stand-in simulator, with the Trainer as the user aircraft.
// Each frame lasts 1/16 s: 625 ticks of the playback clock at speed 1.
class PlayerFixture : public TempLogTest {
protected:
    static constexpr double kFrameSeconds = 0.0625;
    static constexpr uint32_t kFrameTicks = 625;
    static constexpr const char* kTrainer = "Trainer 152 Aerobat"; // 3.9 ft static CG height
    static constexpr const char* kJet = "Twin Jet 737-800 House";  // 8.6 ft
    static constexpr const char* kBeaver = "Amphibian Beaver Floats";

    void SetUp() override {
        TempLogTest::SetUp();
        general.tempDirectory = dir.path().string();
        settingsFile = dir.file("Zephrel.ini");
        SimulatorSetup setup;
        setup.userTitle = kTrainer;
        setup.flightsFolder = dir.file("Flights");
        setup.frameStep = kFrameSeconds;
        module = std::make_unique<ModuleInSimulator>(setup);
        // The host reports each frame's length in the frame after it; the first frame only primes that.
        sim().frame();
        newPlayer();
    }
    void TearDown() override {
        player.reset();
        module.reset();
        TempLogTest::TearDown();
    }

    void newPlayer() {
        player.reset();
        player = std::make_unique<Player>(&general, PlayerSeams{&seen, &seen, &seen, &seen});
    }

    Simulator& sim() { return module->sim(); }
    World& world() { return module->world(); }
    Aircraft& user() { return *world().user(); }

    void frame() {
        sim().frame();
        player->frame();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i)
            frame();
    }

    // The simulator's aircraft that flies a track, null if none.
    Aircraft* flying(std::size_t track) {
        const uint32_t id = player->trackAircraft(track);
        return id == Player::kNoAircraft || id == Player::kCreationFailed ? nullptr : world().find(id);
    }
    int64_t latitudeOf(std::size_t track) {
        Aircraft* aircraft = flying(track);
        return aircraft != nullptr ? aircraft->position().latitude : 0;
    }

    std::string writeFile(const std::string& name, const std::vector<WrittenTrack>& tracks,
                          const std::vector<Marker>& markers = {}) {
        const std::string path = dir.file(name);
        ZflFile file;
        file.open(path, ZflFile::Write);
        for (const WrittenTrack& written : tracks) {
            TrackInfo info{};
            std::strncpy(info.title, written.title.c_str(), sizeof info.title - 1);
            std::strncpy(info.tailNumber, written.tailNumber.c_str(), sizeof info.tailNumber - 1);
            info.staticCGtoGround = written.cg;
            info.format = {2, 0, written.discFlags, 0, 0};
            file.addTrack(info);
            std::vector<unsigned char> cont;
            uint32_t count = 0;
            for (uint32_t time = written.first; time <= written.last; time += 10000, ++count) {
                ContData record{};
                record.timestamp = time;
                record.latitude = written.latitudeAt(time);
                record.longitude = WrittenTrack::kLongitude;
                record.altitude = WrittenTrack::kAltitude;
                record.heading = written.heading;
                const std::vector<unsigned char> bytes = packing::pack(record, 0, 2);
                cont.insert(cont.end(), bytes.begin(), bytes.end());
            }
            file.writeContData(count, cont.data());
            DiscData disc{};
            disc.timestamp = written.first;
            disc.gear = written.gear;
            file.writeDiscData(1, packing::pack(disc, written.discFlags, 2).data());
        }
        for (const Marker& marker : markers)
            file.addMarker(marker);
        file.close();
        return path;
    }

    static PlayTrack playTrack(uint32_t index) {
        PlayTrack track;
        track.index = index;
        return track;
    }
    // Every track of the list as traffic, the files at offset 0 with none of their markers.
    static PlayList traffic(const std::string& path, std::vector<uint32_t> tracks) {
        PlayFile file{path, 0, {}, {}};
        for (uint32_t index : tracks)
            file.tracks.push_back(playTrack(index));
        return PlayList{{file}, -1, -1};
    }
    static Marker marker(uint32_t time, uint32_t type, uint32_t flags, const std::string& text,
                         uint8_t include = 0) {
        Marker m{time, type, flags, text};
        m.include = include;
        return m;
    }

    TempDir dir;
    GeneralSettings general;
    std::string settingsFile; // for the controller's tests built on this fixture
    std::unique_ptr<ModuleInSimulator> module;
    SeenByPlayer seen;
    std::unique_ptr<Player> player;
};
