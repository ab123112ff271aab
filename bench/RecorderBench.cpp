// The recorder inside frames of the stand-in simulator in this process, with 200 AI aircraft parked
// beside the user aircraft (a Four Engine 747-400) and the host at 60 frames a second.
//
// BM_RecorderFrame: Recorder::frame recording every aircraft with every group, a sample of each in
// every frame, in microseconds per frame, against the budget of 167 microseconds (1% of a 60 Hz
// frame) and against an anchor: FSinterface::readData of the same aircraft with the same groups,
// the host calls no recorder can avoid. The simulator steps once between pairs, untimed; then the
// frame and the anchor are timed in pairs, the order alternating. Reported: the median, 99th
// percentile and worst frame, the anchor's median as the host's share and the rest of the median
// frame as the module's own, each over the budget; and the ratio frame/anchor, the median over the
// pairs. Every buffer fills in the same frame, every 100 frames; their blocks reach the disk over
// the frames after. The calls of operator new inside the recorder's frames are counted
// (CountingNew.h): a frame must not allocate once its tracks exist.
//
// BM_Memory*: the resident size of the process after 10 simulated minutes and after 10 simulated
// hours of recording at the default intervals (user 0.25 s, AI 2 s), every group, into an
// unbounded data file and into one bounded to 10 MiB. The buffers are bounded and the data lives
// in the temporary files, so the resident size must not grow by more than 1 MiB; the bounded file
// must never exceed its bound plus the 4-byte wrap mark.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/CountingNew.h"
#include "bench/ScratchRun.h"
#include "common/Log.h"
#include "common/Ticks.h"
#include "harness/ModuleInSimulator.h"
#include "host/FSinterface.h"
#include "recording/Recorder.h"

namespace {

constexpr int kAiAircraft = 200;
constexpr double kFrameSeconds = 1.0 / 60;
constexpr double kBudgetMicroseconds = 167;
constexpr double kWorstAimMicroseconds = 2000;
constexpr uint64_t kFramePairs = 2000; // 20 flushes of every track's buffer
constexpr uint32_t kTenMinutes = 600 * kTicksPerSecond;
constexpr uint32_t kTenHours = 36000 * kTicksPerSecond;
constexpr uint32_t kBoundedSize = 10 * 1048576;
constexpr uint32_t kWrapMarkSize = 4;
constexpr double kGrowthLimitKiB = 1024;

// The run's folder (temporary files, log, flights), removed by main with everything in it.
std::string folder() {
    static const std::string path = zbench::scratchFolder("zephrel-recorder-bench-");
    return path;
}

// The simulator with its AI traffic, and settings that record all of it with every group.
class RecordedWorld {
public:
    RecordedWorld(int32_t interval, int32_t intervalAI) : module_(setup()) {
        const std::vector<AircraftType>& types = module_.world().catalog().types();
        for (int i = 0; i < kAiAircraft; ++i) {
            const std::string& title = types[static_cast<std::size_t>(i) % types.size()].title;
            if (module_.world().createAi(title, "ZB" + std::to_string(1000 + i)) == 0)
                throw std::runtime_error("no AI aircraft of title " + title);
        }
        // The host measures its frame time between two frames.
        module_.sim().frame();
        module_.sim().frame();
        general.maxAircraft = 0;
        general.tempDirectory = folder();
        recording.interval = interval;
        recording.intervalAI = intervalAI;
        recording.recordAI = true;
        recording.contFlags = recording.contFlagsAI = ContGroup::All;
        recording.discFlags = recording.discFlagsAI = DiscGroup::All;
    }

    Simulator& sim() { return module_.sim(); }

    GeneralSettings general;
    RecordingSettings recording;

private:
    static SimulatorSetup setup() {
        SimulatorSetup s;
        s.userTitle = "Four Engine 747-400";
        s.flightsFolder = folder() + "/Flights";
        s.frameStep = kFrameSeconds;
        return s;
    }

    ModuleInSimulator module_;
};

// ---- the cost of a frame ----

struct Reading {
    uint32_t id;
    uint32_t contFlags;
    uint32_t discFlags;
};

// What the recorder reads of each of its tracks.
std::vector<Reading> readingsOf(const Recorder& recorder) {
    std::vector<Reading> readings;
    for (std::size_t track = 0; track < recorder.trackCount(); ++track) {
        const DataFormat format = recorder.trackBuffer(track).trackInfo().format;
        readings.push_back({recorder.trackId(track), format.ContFlags, format.DiscFlags});
    }
    return readings;
}

void BM_RecorderFrame(benchmark::State& state) {
    zbench::guarded(state, [&] {
        RecordedWorld world(0, 0);
        Recorder recorder(&world.general, &world.recording);
        recorder.start(0, 0);
        world.sim().frame();
        recorder.frame(nullptr); // creates the tracks
        const std::vector<Reading> readings = readingsOf(recorder);
        if (readings.size() != kAiAircraft + 1)
            throw std::runtime_error("the recorder has " + std::to_string(readings.size()) + " tracks");

        ContData cont{};
        DiscData disc{};
        const auto readAll = [&] {
            for (const Reading& r : readings)
                FSinterface::readData(r.id, r.contFlags, r.discFlags, &cont, &disc);
            benchmark::DoNotOptimize(cont);
            benchmark::DoNotOptimize(disc);
        };
        uint64_t allocations = 0;
        const auto recordFrame = [&] {
            const uint64_t before = zbench::newCalls();
            recorder.frame(nullptr);
            allocations += zbench::newCalls() - before;
        };

        std::vector<double> ratios;
        std::vector<double> frameTimes;
        std::vector<double> anchorTimes;
        ratios.reserve(kFramePairs);
        frameTimes.reserve(kFramePairs);
        anchorTimes.reserve(kFramePairs);
        bool frameFirst = true;
        for (auto _ : state) {
            world.sim().frame();
            const uint32_t before = recorder.now();
            double f = 0;
            double a = 0;
            if (frameFirst) {
                f = zbench::timed(recordFrame);
                a = zbench::timed(readAll);
            } else {
                a = zbench::timed(readAll);
                f = zbench::timed(recordFrame);
            }
            frameFirst = !frameFirst;
            if (recorder.now() == before) {
                state.SkipWithError("the recording clock did not advance");
                break;
            }
            state.SetIterationTime(f);
            frameTimes.push_back(f);
            anchorTimes.push_back(a);
            ratios.push_back(f / a);
        }
        recorder.stop("");

        zbench::countFrames(state, frameTimes, anchorTimes, kBudgetMicroseconds);
        state.counters["ratio"] = zbench::median(ratios);
        state.counters["allocs_per_frame"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
    });
}

// ---- memory over a long flight ----

// The resident set size in KiB (the second field of /proc/self/statm, in pages); 0 if unreadable.
double residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    if (!(statm >> pages >> resident))
        return 0;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024;
}

// The simulator is not stepped: 2 million frames of the world with 200 aircraft would take far
// longer than the recording itself. The host keeps reporting the frame time it measured last
// (1/60 s), so each recorder frame advances the clock by it, as in a steady flight at 60 Hz; the
// aircraft stand still, which changes no record size.
void measureMemory(benchmark::State& state, uint32_t maxSize) {
    zbench::guarded(state, [&] {
        RecordedWorld world(2500, 20000);
        Recorder recorder(&world.general, &world.recording);
        for (auto _ : state) {
            recorder.start(0, maxSize);
            const TempFile& tempFile = *recorder.tempFile();
            const std::string dataFile = tempFile.baseName() + ".tmp2";
            uint64_t largest = 0;
            uint64_t frames = 0;
            uint32_t lastWritePos = 0;
            const auto recordUntil = [&](uint32_t ticks) {
                while (recorder.now() < ticks) {
                    recorder.frame(nullptr);
                    ++frames;
                    // The file changes only where a block was written.
                    if (tempFile.writePos() != lastWritePos) {
                        lastWritePos = tempFile.writePos();
                        largest = std::max<uint64_t>(largest, std::filesystem::file_size(dataFile));
                    }
                }
            };
            double seconds = zbench::timed([&] { recordUntil(kTenMinutes); });
            const double shortFlight = residentKiB();
            seconds += zbench::timed([&] { recordUntil(kTenHours); });
            const double longFlight = residentKiB();
            const auto finalSize = static_cast<double>(std::filesystem::file_size(dataFile));
            recorder.stop("");
            state.SetIterationTime(seconds);
            state.counters["frames"] = static_cast<double>(frames);
            state.counters["rss_10min_KiB"] = shortFlight;
            state.counters["rss_10h_KiB"] = longFlight;
            state.counters["rss_growth_KiB"] = longFlight - shortFlight;
            state.counters["data_file_bytes"] = finalSize;
            state.counters["largest_data_file_bytes"] = static_cast<double>(largest);
        }
    });
}

void BM_MemoryUnbounded(benchmark::State& state) {
    measureMemory(state, 0);
}

void BM_MemoryBounded(benchmark::State& state) {
    measureMemory(state, kBoundedSize);
}

} // namespace

BENCHMARK(BM_RecorderFrame)
    ->UseManualTime()
    ->Iterations(kFramePairs)
    ->Repetitions(3)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryUnbounded)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_MemoryBounded)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

namespace {

// Prints the figures of the runs; false if one of them misses its aim.
bool summarise(const zbench::Reporter& reporter) {
    bool ok = true;
    if (reporter.ran("BM_RecorderFrame")) {
        const auto c = [&](const char* name) { return reporter.counter("BM_RecorderFrame", name); };
        std::printf("Recorder::frame, %d aircraft, every group, a sample each frame; allocations per frame %.3f\n",
                    kAiAircraft + 1, c("allocs_per_frame"));
        reporter.printFrames("BM_RecorderFrame", kBudgetMicroseconds, kWorstAimMicroseconds);
        reporter.printRatio("BM_RecorderFrame", "frame/readData", "the recorder's time over the reads alone");
        if (c("allocs_per_frame") != 0) {
            std::printf("FAILED: Recorder::frame called operator new in the steady state\n");
            ok = false;
        }
    }
    for (const char* name : {"BM_MemoryUnbounded", "BM_MemoryBounded"}) {
        if (!reporter.ran(name))
            continue;
        const auto c = [&](const char* counter) { return reporter.counter(name, counter); };
        std::printf("%s: resident %.0f KiB after 10 min, %.0f KiB after 10 h: %+.0f KiB (limit %+.0f); "
                    "data file %.1f MB at the end, at most %.0f bytes\n",
                    name + 3, c("rss_10min_KiB"), c("rss_10h_KiB"), c("rss_growth_KiB"), kGrowthLimitKiB,
                    c("data_file_bytes") / 1e6, c("largest_data_file_bytes"));
        if (c("rss_growth_KiB") > kGrowthLimitKiB) {
            std::printf("FAILED: the resident size grew by more than 1 MiB\n");
            ok = false;
        }
    }
    if (reporter.ran("BM_MemoryBounded")) {
        const double largest = reporter.counter("BM_MemoryBounded", "largest_data_file_bytes");
        const double limit = double{kBoundedSize} + kWrapMarkSize;
        std::printf("bounded data file: at most %.0f bytes against %.0f (bound + wrap mark)\n", largest,
                    limit);
        if (largest > limit) {
            std::printf("FAILED: the bounded data file outgrew its bound\n");
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    return zbench::runInScratchFolder(argc, argv, "RecorderBench", folder(), summarise);
}
