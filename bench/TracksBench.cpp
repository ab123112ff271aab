// zfl-tracks against GPSBabel on one 200,000-point GPX track (a flight in circles, a point a
// second): the import into a recording and the exports to GPX and KML, each timed in pairs with
// GPSBabel reading the same GPX and writing GPX (the anchor), the order alternating. The ratio is
// GPSBabel's least processor time over zfl-tracks' least: on a shared machine a run only ever
// takes longer than the program needs, and a 45 ms run is thrown about far more than a 1.4 s one
// (this machine's imports took from 42 to 80 ms in one minute), so each program's least time is
// what it needs. The median of the pairs' own ratios is given beside it. Both run as programs of
// their own, so each pair also gives their peak resident sizes; zfl-tracks' on 100,000 points as
// well, which should be no smaller if memory stays flat. Needs gpsbabel on the PATH.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kPairs = 15;

// A program run to its end: its processor seconds (user and system: the machine's other work does
// not count) and its peak resident size in KiB.
struct Run {
    double seconds = 0;
    long peakKib = 0;
};

Run runProgram(const std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    Run run;
    int status = 0;
    rusage usage{};
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error(words[0] + " cannot be started");
    wait4(child, &status, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    run.seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(words[0] + " failed");
    run.peakKib = usage.ru_maxrss;
    return run;
}

// A GPX track of `points` points, one a second, in circles of 35 km climbing and descending.
void writeTrack(const std::string& path, int points) {
    std::ofstream out(path);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"bench\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><name>circles</name><trkseg>\n";
    constexpr double kRad = 3.141592653589793 / 180;
    char line[200];
    for (int i = 0; i < points; ++i) {
        const double heading = std::fmod(90.0 + i * 0.2, 360.0);
        const int second = i % 86400;
        std::snprintf(line, sizeof line,
                      "<trkpt lat=\"%.8f\" lon=\"%.8f\"><ele>%.2f</ele><time>2024-06-%02dT%02d:%02d:%02dZ</time></trkpt>\n",
                      47.30 + 0.159 * std::sin(heading * kRad), 8.55 - 0.234 * std::cos(heading * kRad),
                      1500 + 300 * std::sin(i / 1000.0), 1 + i / 86400, second / 3600, second / 60 % 60, second % 60);
        out << line;
    }
    out << "</trkseg></trk>\n</gpx>\n";
}

struct Scratch {
    fs::path folder = fs::temp_directory_path() / ("zephrel-tracks-bench-" + std::to_string(getpid()));
    Scratch() {
        fs::create_directories(folder);
        writeTrack(path("track.gpx"), 200000);
        writeTrack(path("half.gpx"), 100000);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    std::string path(const char* name) const { return (folder / name).string(); }
};

Scratch& scratch() {
    static Scratch made;
    return made;
}

// Times zfl-tracks' command against GPSBabel's GPX to GPX conversion of the same track.
void compare(benchmark::State& state, const std::vector<std::string>& ours) {
    zbench::guarded(state, [&] {
        const Scratch& files = scratch();
        const std::vector<std::string> babel = {"gpsbabel", "-i", "gpx", "-f", files.path("track.gpx"),
                                                "-o", "gpx", "-F", files.path("babel.gpx")};
        std::vector<double> ratios;
        Run own, anchor;
        double ownLeast = 0, anchorLeast = 0;
        for (auto _ : state)
            for (int pair = 0; pair < kPairs; ++pair) {
                const bool babelFirst = pair % 2 == 1;
                if (babelFirst)
                    anchor = runProgram(babel);
                own = runProgram(ours);
                if (!babelFirst)
                    anchor = runProgram(babel);
                ratios.push_back(anchor.seconds / own.seconds);
                ownLeast = pair == 0 ? own.seconds : std::min(ownLeast, own.seconds);
                anchorLeast = pair == 0 ? anchor.seconds : std::min(anchorLeast, anchor.seconds);
            }
        state.counters["ratio"] = anchorLeast / ownLeast;
        state.counters["ratio_pairs_median"] = zbench::median(ratios);
        state.counters["zfl_tracks_s"] = ownLeast;
        state.counters["gpsbabel_s"] = anchorLeast;
        state.counters["zfl_tracks_peak_MiB"] = static_cast<double>(own.peakKib) / 1024;
        state.counters["gpsbabel_peak_MiB"] = static_cast<double>(anchor.peakKib) / 1024;
    });
}

std::string zflTracks() {
    return ZEPHREL_ZFL_TRACKS;
}

void BM_ImportVsGpsbabel(benchmark::State& state) {
    const Scratch& files = scratch();
    compare(state, {zflTracks(), "import", files.path("track.gpx"), files.path("track.zfl")});
    zbench::guarded(state, [&] {
        state.counters["zfl_tracks_peak_MiB_100k"] =
            static_cast<double>(runProgram({zflTracks(), "import", files.path("half.gpx"), files.path("half.zfl")})
                                    .peakKib) /
            1024;
    });
}

void BM_ExportGpxVsGpsbabel(benchmark::State& state) {
    const Scratch& files = scratch();
    runProgram({zflTracks(), "import", files.path("track.gpx"), files.path("track.zfl")});
    compare(state, {zflTracks(), "export", files.path("track.zfl"), files.path("out.gpx")});
}

void BM_ExportKmlVsGpsbabel(benchmark::State& state) {
    const Scratch& files = scratch();
    runProgram({zflTracks(), "import", files.path("track.gpx"), files.path("track.zfl")});
    compare(state, {zflTracks(), "export", files.path("track.zfl"), files.path("out.kml")});
}

BENCHMARK(BM_ImportVsGpsbabel)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportGpxVsGpsbabel)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportKmlVsGpsbabel)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (!zbench::initialize(argc, argv))
        return 1;
    zbench::Reporter reporter;
    try {
        zbench::run(reporter);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "TracksBench: %s\n", e.what());
        return 1;
    }
    const auto printRatio = [&](const char* name, const char* what) {
        char note[96];
        std::snprintf(note, sizeof note, "aim >= 30; the median of the pairs' own ratios %.1f",
                      reporter.counter(name, "ratio_pairs_median"));
        reporter.printRatio(name, what, note);
    };
    printRatio("BM_ImportVsGpsbabel", "gpsbabel/zfl-tracks import of 200,000 GPX points");
    printRatio("BM_ExportGpxVsGpsbabel", "gpsbabel/zfl-tracks export to GPX");
    printRatio("BM_ExportKmlVsGpsbabel", "gpsbabel/zfl-tracks export to KML");
    if (reporter.ran("BM_ImportVsGpsbabel"))
        std::printf("zfl-tracks import peak resident size: %.1f MiB on 100,000 points, %.1f MiB on 200,000\n",
                    reporter.counter("BM_ImportVsGpsbabel", "zfl_tracks_peak_MiB_100k"),
                    reporter.counter("BM_ImportVsGpsbabel", "zfl_tracks_peak_MiB"));
    return reporter.failed() ? 1 : 0;
}
