// The player inside frames of the stand-in simulator in this process, the user aircraft a Four
// Engine 747-400 and the host at 60 frames a second. The recordings are written here, in a
// temporary folder: every data group, 4 samples a second, aircraft flying straight on with their
// controls, lights and flaps moving.
//
// BM_PlayerFrame: Player::frame playing 200 tracks of 4 minutes, each as an AI aircraft of one of
// the sample root's titles, in microseconds per frame, against the budget of 167 microseconds (1%
// of a 60 Hz frame) and against an anchor: FSinterface::writeData of the same aircraft with a
// stored sample of their tracks, the host calls no player can avoid. The simulator steps once
// between pairs, untimed; then the frame and the anchor are timed in pairs, the order
// alternating. Reported: the median, 99th percentile and worst frame, the anchor's median as the
// host's share and the rest of the median frame as the module's own, each over the budget; and
// the ratio frame/anchor, the median over the pairs. The timed frames start once every aircraft
// exists and cross the first window boundary of all tracks, which are read ahead a few per frame
// before it. The calls of operator new inside the player's frames are counted (CountingNew.h): a
// frame must not allocate in the steady state.
//
// BM_ForwardWindows: one track played on for an hour of its time; continuous windows read per
// record passed. Windows overlap by one record, so playing on reads one window per 249 records.
//
// BM_JumpTenHours: one track of 10 hours (144000 samples); Player::setTime to the end area and the
// frame that applies it, then back to a second after the beginning and its frame. A jump reads the
// window that holds the time and the few time stamps that find it (aim: 5 reads, 0.5 ms); the
// ratio is against one ZflFile::readContData of a 250-record window of the same file.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/CountingNew.h"
#include "bench/ScratchRun.h"
#include "common/DataBuffer.h"
#include "common/Log.h"
#include "common/Ticks.h"
#include "common/ZflFile.h"
#include "harness/ModuleInSimulator.h"
#include "host/FSinterface.h"
#include "playback/Player.h"

namespace {

constexpr int kAiTracks = 200;
constexpr double kFrameSeconds = 1.0 / 60;
constexpr double kBudgetMicroseconds = 167;
constexpr double kWorstAimMicroseconds = 2000;
constexpr uint32_t kSampleTicks = 2500;   // 4 samples a second
constexpr uint32_t kDiscTicks = 40000;    // a discrete change every 4 seconds
constexpr uint32_t kShortRecords = 960;   // 4 minutes
constexpr uint32_t kLongRecords = 144000; // 10 hours
constexpr uint32_t kWindowStep = Player::kContWindow - 1;
// The timed frames begin 10 s into the tracks and pass the first window boundary at 62.25 s.
constexpr uint32_t kWarmUpTicks = 10 * kTicksPerSecond;
constexpr uint64_t kFramePairs = 4000;
constexpr uint64_t kForwardFrames = 3600 * 60; // an hour of playback
constexpr uint64_t kJumpPairs = 10;

// The run's folder (recordings, log, flights), removed by main with everything in it.
std::string folder() {
    static const std::string path = zbench::scratchFolder("zephrel-player-bench-");
    return path;
}

// ---- the recordings ----

constexpr double kTwo32 = 4294967296.0;
constexpr double kLongitudeUnitsPerMetre = 460305528975.90894; // at the equator
constexpr double kLatitudeUnitsToRadians = 3.6566552834932875e-17;
constexpr double kFeetPerMetre = 3.280839895;
constexpr double kSpeed = 120; // metres a second

// One recorded aircraft: where it starts and which way it flies.
struct Flight {
    int64_t latitude = 0;
    int64_t longitude = 0;
    int64_t altitude = 0;
    double heading = 0; // radians
    double phase = 0;   // spreads the control movements between aircraft
    uint8_t nEngines = 1;
    DiscData base{}; // radios and date as the simulator had them
};

int32_t signedAngle(double degrees) {
    return static_cast<int32_t>(std::llround(degrees / 360 * kTwo32));
}

ContData contSample(const Flight& f, uint32_t index) {
    ContData c{};
    const double s = index * (double{kSampleTicks} / kTicksPerSecond);
    const double wave = std::sin(s * 0.3 + f.phase);
    const double distance = kSpeed * s;
    c.timestamp = index * kSampleTicks;
    c.latitude = f.latitude + static_cast<int64_t>(distance * std::cos(f.heading) * kTwo32);
    const double latitude = static_cast<double>(c.latitude) * kLatitudeUnitsToRadians;
    c.longitude = f.longitude + static_cast<int64_t>(distance * std::sin(f.heading) *
                                                     kLongitudeUnitsPerMetre / std::cos(latitude));
    c.altitude = f.altitude + static_cast<int64_t>((300 + 20 * wave) * kTwo32);
    c.pitch = signedAngle(-2 - wave);
    c.bank = signedAngle(10 * wave);
    c.heading = static_cast<uint32_t>(signedAngle(f.heading * 180 / std::numbers::pi));
    c.velocityX = kSpeed * std::sin(f.heading) * kFeetPerMetre;
    c.velocityY = 6 * std::cos(s * 0.3 + f.phase) * kFeetPerMetre;
    c.velocityZ = kSpeed * std::cos(f.heading) * kFeetPerMetre;
    c.elevators = static_cast<int16_t>(2000 * wave);
    c.ailerons = static_cast<int16_t>(-3000 * wave);
    c.rudder = static_cast<int16_t>(500 * wave);
    for (int e = 0; e < kMaxEngines; ++e) {
        c.throttle[e] = static_cast<int16_t>(12000 + 1000 * wave);
        c.prop[e] = 16383;
        c.mix[e] = 16383;
    }
    c.spoilers = 0;
    c.IAS = static_cast<float>(200 + 5 * wave);
    c.TAS = static_cast<float>(233 + 5 * wave);
    c.windDir = 270;
    c.windSpd = 15;
    c.mach = static_cast<float>(0.35 + 0.01 * wave);
    const auto clock = static_cast<uint32_t>(12 * 3600 + s);
    c.hour = static_cast<uint8_t>(clock / 3600 % 24);
    c.minute = static_cast<uint8_t>(clock / 60 % 60);
    c.second = static_cast<uint8_t>(clock % 60);
    for (int k = 0; k < 5; ++k) {
        c.extControls[k] = static_cast<float>(0.1 * wave);
        c.extGear[k] = 0;
    }
    for (int k = 0; k < 8; ++k)
        c.extFlaps[k] = static_cast<uint16_t>(1000 * (index / 240 % 3));
    return c;
}

DiscData discSample(const Flight& f, uint32_t index) {
    DiscData d = f.base;
    d.timestamp = index * kDiscTicks;
    d.onground = 0;
    d.flaps = static_cast<uint8_t>(index / 15 % 3);
    d.gear = 0;
    d.lights = static_cast<uint16_t>(f.base.lights ^ (index % 2 != 0 ? 0x0010 : 0)); // strobes
    d.parkbrake = 0;
    d.engines = static_cast<uint8_t>((1u << f.nEngines) - 1);
    d.smoke = 0;
    d.autopilot = static_cast<uint8_t>(index % 4 == 0 ? 0 : 1);
    d.concnose = 0;
    return d;
}

DataFormat formatOf(const Flight& f) {
    return {f.nEngines, ContGroup::All, DiscGroup::All, contRecordSize(ContGroup::All, f.nEngines),
            discRecordSize(DiscGroup::All)};
}

// Writes one track of nCont samples, in chunks, as the recorder would store them.
void writeTrack(ZflFile& file, const Flight& f, const std::string& title, const std::string& tailNumber,
                float staticCg, uint32_t nCont) {
    const DataFormat format = formatOf(f);
    TrackInfo info{};
    std::strncpy(info.title, title.c_str(), sizeof info.title - 1);
    std::strncpy(info.tailNumber, tailNumber.c_str(), sizeof info.tailNumber - 1);
    info.staticCGtoGround = staticCg;
    info.format = format;
    info.originalRecording = 0; // traffic
    file.addTrack(info);

    constexpr uint32_t kChunk = 1000;
    std::vector<unsigned char> cont(std::size_t{kChunk} * format.contRecordSize);
    std::vector<unsigned char> disc(std::size_t{kChunk} * format.discRecordSize);
    DataBuffer buffer(cont.data(), disc.data(), format);
    for (uint32_t first = 0; first < nCont; first += kChunk) {
        const uint32_t n = std::min(kChunk, nCont - first);
        for (uint32_t i = 0; i < n; ++i)
            buffer.setContData(i, contSample(f, first + i));
        file.writeContData(n, cont.data());
    }
    const uint32_t nDisc = (nCont - 1) * kSampleTicks / kDiscTicks + 1;
    for (uint32_t first = 0; first < nDisc; first += kChunk) {
        const uint32_t n = std::min(kChunk, nDisc - first);
        for (uint32_t i = 0; i < n; ++i)
            buffer.setDiscData(i, discSample(f, first + i));
        file.writeDiscData(n, disc.data());
    }
}

// ---- the simulator ----

std::string tailNumber(int track) {
    return "ZB" + std::to_string(1000 + track);
}

// The simulator with the user aircraft, and settings that play every track as traffic.
class PlayedWorld {
public:
    PlayedWorld() : module_(setup()) {
        // The host measures its frame time between two frames.
        module_.sim().frame();
        module_.sim().frame();
        FSinterface::readData(FSinterface::getUserAcftID(), ContGroup::All, DiscGroup::All, &origin_,
                              &originDisc_);
        general.maxAircraft = kAiTracks;
        general.tempDirectory = folder();
    }

    Simulator& sim() { return module_.sim(); }
    World& world() { return module_.world(); }

    // The track flights start beside where the user aircraft started, spread on a grid, each on its
    // own heading.
    Flight flight(int track) {
        Flight f;
        f.base = originDisc_;
        const double north = (track / 20) * 400.0;
        const double east = (track % 20) * 400.0 - 4000;
        f.latitude = origin_.latitude + static_cast<int64_t>(north * kTwo32);
        const double latitude = static_cast<double>(f.latitude) * kLatitudeUnitsToRadians;
        f.longitude =
            origin_.longitude + static_cast<int64_t>(east * kLongitudeUnitsPerMetre / std::cos(latitude));
        f.altitude = origin_.altitude;
        f.heading = track * 2 * std::numbers::pi / kAiTracks;
        f.phase = track * 0.7;
        const AircraftType& type = typeOf(track);
        f.nEngines = static_cast<uint8_t>(std::clamp(type.engines, 1, kMaxEngines));
        return f;
    }
    const AircraftType& typeOf(int track) {
        const std::vector<AircraftType>& types = module_.world().catalog().types();
        return types[static_cast<std::size_t>(track) % types.size()];
    }

    GeneralSettings general;

private:
    static SimulatorSetup setup() {
        SimulatorSetup s;
        s.userTitle = "Four Engine 747-400";
        s.flightsFolder = folder() + "/Flights";
        s.frameStep = kFrameSeconds;
        return s;
    }

    ModuleInSimulator module_;
    ContData origin_{};
    DiscData originDisc_{};
};

// A recording written once per run: `tracks` tracks of `records` samples.
std::string recording(PlayedWorld& world, const char* name, int tracks, uint32_t records) {
    const std::string path = folder() + "/" + name;
    if (std::filesystem::exists(path))
        return path;
    ZflFile file;
    file.open(path, ZflFile::Write);
    for (int track = 0; track < tracks; ++track) {
        const AircraftType& type = world.typeOf(track);
        writeTrack(file, world.flight(track), type.title, tailNumber(track),
                   static_cast<float>(type.staticCgHeight), records);
    }
    file.close();
    return path;
}

PlayList traffic(const std::string& path, int tracks) {
    PlayFile file;
    file.fileName = path;
    for (int track = 0; track < tracks; ++track) {
        PlayTrack t;
        t.index = static_cast<uint32_t>(track);
        t.contFlags = 0xFFFFFFFFu;
        t.discFlags = 0xFFFFFFFFu;
        file.tracks.push_back(t);
    }
    PlayList list;
    list.files.push_back(file);
    return list;
}

// Every track of the player has an aircraft of its own.
void requireAircraft(const Player& player, std::size_t tracks) {
    if (player.trackCount() != tracks)
        throw std::runtime_error("the player has " + std::to_string(player.trackCount()) + " tracks");
    for (std::size_t track = 0; track < tracks; ++track) {
        const uint32_t id = player.trackAircraft(track);
        if (id == Player::kNoAircraft || id == Player::kCreationFailed)
            throw std::runtime_error("track " + std::to_string(track) + " has no aircraft");
    }
    if (player.aircraft().size() != tracks)
        throw std::runtime_error("the player created " + std::to_string(player.aircraft().size()) +
                                 " aircraft");
}

uint64_t contWindowReads(const Player& player) {
    uint64_t reads = 0;
    for (std::size_t track = 0; track < player.trackCount(); ++track)
        reads += player.trackBuffer(track).contWindowReads();
    return reads;
}

// The sum of the tracks' window positions: it changes in the frame in which windows move.
uint64_t contWindowStarts(const Player& player) {
    uint64_t starts = 0;
    for (std::size_t track = 0; track < player.trackCount(); ++track)
        starts += player.trackBuffer(track).contStart();
    return starts;
}

// ---- the cost of a frame ----

struct Anchor {
    uint32_t id;
    Flight flight;
    DataFormat format;
    ContData cont;
    DiscData disc;
};

void BM_PlayerFrame(benchmark::State& state) {
    zbench::guarded(state, [&] {
        PlayedWorld world;
        const std::string path = recording(world, "Traffic.zfl", kAiTracks, kShortRecords);
        Player player(&world.general);
        player.start(traffic(path, kAiTracks), true, 0);
        while (player.now() < kWarmUpTicks) {
            world.sim().frame();
            player.frame();
        }
        requireAircraft(player, kAiTracks);

        std::vector<Anchor> anchors;
        for (int track = 0; track < kAiTracks; ++track) {
            const Flight f = world.flight(track);
            anchors.push_back(
                {player.trackAircraft(static_cast<std::size_t>(track)), f, formatOf(f), {}, {}});
        }
        // The sample before the clock, as the player's own read would find it.
        const auto prepareAnchor = [&] {
            const uint32_t index = std::min(player.now() / kSampleTicks, kShortRecords - 1);
            for (Anchor& a : anchors) {
                a.cont = contSample(a.flight, index);
                a.disc = discSample(a.flight, index * kSampleTicks / kDiscTicks);
            }
        };
        const auto writeAll = [&] {
            for (const Anchor& a : anchors)
                FSinterface::writeData(a.id, &a.cont, &a.disc, &a.format, false);
        };
        uint64_t allocations = 0;
        const auto playFrame = [&] {
            const uint64_t before = zbench::newCalls();
            player.frame();
            allocations += zbench::newCalls() - before;
        };

        const uint64_t readsBefore = contWindowReads(player);
        std::vector<double> ratios;
        std::vector<double> frameTimes;
        std::vector<double> anchorTimes;
        ratios.reserve(kFramePairs);
        frameTimes.reserve(kFramePairs);
        anchorTimes.reserve(kFramePairs);
        double boundarySeconds = 0; // the frame in which the tracks step into their next windows
        bool frameFirst = true;
        for (auto _ : state) {
            world.sim().frame();
            prepareAnchor();
            const uint32_t before = player.now();
            const uint64_t startsBeforeFrame = contWindowStarts(player);
            double f = 0;
            double a = 0;
            if (frameFirst) {
                f = zbench::timed(playFrame);
                a = zbench::timed(writeAll);
            } else {
                a = zbench::timed(writeAll);
                f = zbench::timed(playFrame);
            }
            frameFirst = !frameFirst;
            if (player.now() == before || player.isFinished()) {
                state.SkipWithError("the playback clock did not advance");
                break;
            }
            if (contWindowStarts(player) != startsBeforeFrame)
                boundarySeconds = std::max(boundarySeconds, f);
            state.SetIterationTime(f);
            frameTimes.push_back(f);
            anchorTimes.push_back(a);
            ratios.push_back(f / a);
        }
        requireAircraft(player, kAiTracks);
        const uint64_t windowReads = contWindowReads(player) - readsBefore;
        player.stop(true);

        // What the window frame cannot avoid: the next window of every track, read from the file.
        ZflFile file;
        file.open(path, ZflFile::Read);
        std::vector<unsigned char> window(std::size_t{Player::kContWindow} * sizeof(ContData));
        std::vector<double> windowReadTimes;
        for (int repeat = 0; repeat < 5; ++repeat)
            windowReadTimes.push_back(zbench::timed([&] {
                for (uint32_t track = 0; track < kAiTracks; ++track)
                    file.readContData(track, kWindowStep, Player::kContWindow, window.data());
            }));
        benchmark::DoNotOptimize(window.data());

        const double frames = static_cast<double>(state.iterations());
        zbench::countFrames(state, frameTimes, anchorTimes, kBudgetMicroseconds);
        // The frame in which all tracks step into their next windows, against reading them all.
        state.counters["window_frame_us"] = boundarySeconds * 1e6;
        state.counters["window_reads_us"] = zbench::median(windowReadTimes) * 1e6;
        state.counters["ratio"] = zbench::median(ratios);
        state.counters["allocs_per_frame"] = static_cast<double>(allocations) / frames;
        state.counters["window_reads_per_track"] = static_cast<double>(windowReads) / kAiTracks;
    });
}

// ---- one long track ----

// The simulator is not stepped: the host keeps reporting the frame time it measured last (1/60 s),
// so each player frame advances the clock by it, as in a steady flight at 60 Hz.
class LongTrack {
public:
    LongTrack()
        : path_(recording(world_, "Long.zfl", 1, kLongRecords)),
          player_(&world_.general) {
        player_.start(traffic(path_, 1), true, 0);
        player_.frame(); // creates the aircraft
        player_.frame(); // applies the first state
        requireAircraft(player_, 1);
    }

    Player& player() { return player_; }
    const std::string& path() const { return path_; }
    uint32_t reads() const { return player_.trackBuffer(0).contWindowReads(); }
    uint32_t timestampReads() const { return player_.trackBuffer(0).timestampReads(); }

    // Whether the aircraft stands where the track has it at the player's time (north or south
    // within two seconds of its flight): the timed frame did apply the jump.
    bool appliedNow() {
        ContData cont{};
        DiscData disc{};
        FSinterface::readData(player_.trackAircraft(0), ContGroup::All, DiscGroup::All, &cont, &disc);
        const ContData expected = contSample(world_.flight(0), player_.now() / kSampleTicks);
        return std::abs(static_cast<double>(cont.latitude - expected.latitude)) / kTwo32 < 2 * kSpeed;
    }

private:
    PlayedWorld world_;
    std::string path_;
    Player player_;
};

void BM_ForwardWindows(benchmark::State& state) {
    zbench::guarded(state, [&] {
        LongTrack track;
        Player& player = track.player();
        for (auto _ : state) {
            const uint32_t firstRecord = player.now() / kSampleTicks;
            const uint32_t readsBefore = track.reads();
            const double seconds = zbench::timed([&] {
                for (uint64_t frame = 0; frame < kForwardFrames; ++frame)
                    player.frame();
            });
            if (player.isFinished())
                throw std::runtime_error("the playback finished early");
            const double records = player.now() / kSampleTicks - firstRecord;
            const double reads = track.reads() - readsBefore;
            state.SetIterationTime(seconds);
            state.counters["records"] = records;
            state.counters["window_reads"] = reads;
            state.counters["windows_per_record"] = reads / records;
            state.counters["us_per_frame"] = seconds * 1e6 / static_cast<double>(kForwardFrames);
        }
        player.stop(true);
    });
}

void BM_JumpTenHours(benchmark::State& state) {
    zbench::guarded(state, [&] {
        LongTrack track;
        Player& player = track.player();
        ZflFile file;
        file.open(track.path(), ZflFile::Read);
        const uint32_t recordSize = file.getTrackInfo(0).format.contRecordSize;
        std::vector<unsigned char> window(std::size_t{Player::kContWindow} * recordSize);
        const uint32_t middle = kLongRecords / 2;

        std::vector<double> forward, backward, anchors;
        uint32_t forwardReads = 0;
        uint32_t backwardReads = 0;
        // Windows and single time stamps alike.
        const auto reads = [&] { return track.reads() + track.timestampReads(); };
        for (auto _ : state) {
            uint32_t before = reads();
            player.setTime(player.end());
            const double f = zbench::timed([&] { player.frame(); });
            forwardReads = reads() - before;
            if (!track.appliedNow()) {
                state.SkipWithError("the jump to the end was not applied");
                break;
            }
            anchors.push_back(
                zbench::timed([&] { file.readContData(0, middle, Player::kContWindow, window.data()); }));
            before = reads();
            player.setTime(player.begin() + kTicksPerSecond);
            const double b = zbench::timed([&] { player.frame(); });
            backwardReads = reads() - before;
            if (!track.appliedNow()) {
                state.SkipWithError("the jump back to the beginning was not applied");
                break;
            }
            anchors.push_back(
                zbench::timed([&] { file.readContData(0, middle, Player::kContWindow, window.data()); }));
            benchmark::DoNotOptimize(window.data());
            forward.push_back(f);
            backward.push_back(b);
            state.SetIterationTime(f + b);
        }
        player.stop(true);
        const double anchor = zbench::median(anchors);
        const double f = zbench::median(forward);
        const double b = zbench::median(backward);
        state.counters["forward_ms"] = f * 1e3;
        state.counters["backward_ms"] = b * 1e3;
        state.counters["forward_reads"] = forwardReads;
        state.counters["backward_reads"] = backwardReads;
        state.counters["window_read_us"] = anchor * 1e6;
        state.counters["ratio"] = anchor > 0 ? f / anchor : 0;
        state.counters["backward_ratio"] = anchor > 0 ? b / anchor : 0;
    });
}

} // namespace

BENCHMARK(BM_PlayerFrame)
    ->UseManualTime()
    ->Iterations(kFramePairs)
    ->Repetitions(3)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ForwardWindows)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JumpTenHours)->UseManualTime()->Iterations(kJumpPairs)->Unit(benchmark::kMillisecond);

namespace {

// Prints the figures of the runs; false if one of them misses its aim.
bool summarise(const zbench::Reporter& reporter) {
    bool ok = true;
    if (reporter.ran("BM_PlayerFrame")) {
        const auto c = [&](const char* name) { return reporter.counter("BM_PlayerFrame", name); };
        std::printf("Player::frame, %d AI tracks, every group: %.1f us in the frame that steps into the next "
                    "windows, against %.1f us for reading those windows alone; allocations per frame %.3f\n",
                    kAiTracks, c("window_frame_us"), c("window_reads_us"), c("allocs_per_frame"));
        reporter.printFrames("BM_PlayerFrame", kBudgetMicroseconds, kWorstAimMicroseconds);
        reporter.printRatio("BM_PlayerFrame", "frame/writeData", "the player's time over the writes alone");
        if (c("allocs_per_frame") != 0) {
            std::printf("FAILED: Player::frame called operator new in the steady state\n");
            ok = false;
        }
    }
    if (reporter.ran("BM_ForwardWindows")) {
        const auto c = [&](const char* name) { return reporter.counter("BM_ForwardWindows", name); };
        std::printf(
            "forward playback of one track: %.0f records, %.0f window reads (%.1f at one per %u records): "
            "%.5f windows per record, %.2f us/frame\n",
            c("records"), c("window_reads"), c("records") / kWindowStep, kWindowStep, c("windows_per_record"),
            c("us_per_frame"));
        // Rounding at the two ends of the stretch allows one read either way.
        if (std::abs(c("window_reads") - c("records") / kWindowStep) > 1) {
            std::printf("FAILED: playing on does not read one window per %u records\n", kWindowStep);
            ok = false;
        }
    }
    if (reporter.ran("BM_JumpTenHours")) {
        const auto c = [&](const char* name) { return reporter.counter("BM_JumpTenHours", name); };
        std::printf(
            "jump across a 10 h track (%u records): to the end %.3f ms (%.0f reads), back to the "
            "beginning %.3f ms (%.0f reads; windows and time stamps); one window read %.1f us\n",
            kLongRecords, c("forward_ms"), c("forward_reads"), c("backward_ms"), c("backward_reads"),
            c("window_read_us"));
        reporter.printRatio("BM_JumpTenHours", "jump to the end/window read", "aim: 0.5 ms, 5 reads");
        std::printf("ratio jump back/window read: %.3f\n", c("backward_ratio"));
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    return zbench::runInScratchFolder(argc, argv, "PlayerBench", folder(), summarise);
}
