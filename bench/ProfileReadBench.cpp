// Reading a settings file one key per call, as the module does when it starts, against one plain
// parse of the same file (reading it and building its IniDocument), the least a single read costs.
//
// Two files: a Zephrel.ini of 500 keys in the module's sections, and the same with a 10 MiB line in
// its first section. Each pair reads all 500 keys through GetPrivateProfileStringA, starting with
// nothing kept for the file, and parses the file once, the order alternating; the ratio is the
// reads' time over the parse's, the median over the pairs. The files are written once and left to
// settle, as a settings file written in an earlier session is, and stay in the page cache.

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchSupport.h"
#include "profile/DocumentCache.h"
#include "profile/IniDocument.h"
#include "profile/Profile.h"
#include "profile/ProfileFile.h"

namespace {

constexpr const char* kSections[] = {"SETTINGS", "RECORDING", "REPLAY", "PLAYBACK", "VIDEO",
                                     "CAMERAS",  "KEYCONFIG", "LOG",    "WINDOWS",  "Dialogs"};
constexpr std::size_t kKeysPerSection = 50;
constexpr std::size_t kKeys = std::size(kSections) * kKeysPerSection;
constexpr std::size_t kLongLineBytes = std::size_t{10} << 20;
constexpr int kNormalPairs = 200;
constexpr int kLongLinePairs = 10;

std::string keyName(std::size_t key) {
    return "Key" + std::to_string(key);
}

std::string keyValue(std::size_t section, std::size_t key) {
    return std::to_string(section * 1000 + key);
}

// With a line of longLineBytes after the first header when that is not 0.
std::string settingsText(std::size_t longLineBytes) {
    std::string text;
    for (std::size_t s = 0; s < std::size(kSections); ++s) {
        text.append("[").append(kSections[s]).append("]\r\n");
        if (s == 0 && longLineBytes > 0)
            text.append("Notes=").append(longLineBytes, 'x').append("\r\n");
        for (std::size_t k = 0; k < kKeysPerSection; ++k)
            text.append(keyName(k)).append("=").append(keyValue(s, k)).append("\r\n");
    }
    return text;
}

std::string normalFile;
std::string longLineFile;

// Whether every key read back as written.
bool readAllKeys(const std::string& path) {
    bool allRead = true;
    char buffer[260];
    for (std::size_t s = 0; s < std::size(kSections); ++s)
        for (std::size_t k = 0; k < kKeysPerSection; ++k) {
            win::GetPrivateProfileStringA(kSections[s], keyName(k).c_str(), "", buffer, sizeof buffer,
                                          path.c_str());
            allRead = allRead && keyValue(s, k) == buffer;
        }
    return allRead;
}

profile::IniDocument parseOnce(const std::string& path) {
    return profile::IniDocument(profile::readFile(path.c_str()).bytes);
}

// One iteration is one pair; the reported time is the reads', the parse is in the counters.
void readKeysVsParse(benchmark::State& state, const std::string& path) {
    std::vector<double> ratios;
    ratios.reserve(static_cast<std::size_t>(state.max_iterations));
    double readSeconds = 0;
    double parseSeconds = 0;
    bool allRead = true;
    bool readsFirst = true;
    for (auto _ : state) {
        // As at the module's start, nothing is kept for the file yet.
        profile::DocumentCache::instance().forget(path);
        double r = 0;
        double p = 0;
        auto runReads = [&] { r = zbench::timed([&] { allRead = readAllKeys(path) && allRead; }); };
        // The document goes after the timing, as the one the reads keep does.
        profile::IniDocument parsed;
        auto runParse = [&] { p = zbench::timed([&] { parsed = parseOnce(path); }); };
        if (readsFirst) {
            runReads();
            runParse();
        } else {
            runParse();
            runReads();
        }
        readsFirst = !readsFirst;
        state.SetIterationTime(r);
        readSeconds += r;
        parseSeconds += p;
        ratios.push_back(r / p);
    }
    if (!allRead) {
        state.SkipWithError("a key did not read back as written");
        return;
    }
    const double pairs = static_cast<double>(state.iterations());
    state.counters["reads_ms"] = readSeconds / pairs * 1e3;
    state.counters["parse_ms"] = parseSeconds / pairs * 1e3;
    state.counters["ratio"] = zbench::median(ratios);
}

void BM_NormalFile(benchmark::State& state) {
    readKeysVsParse(state, normalFile);
}
void BM_LongLineFile(benchmark::State& state) {
    readKeysVsParse(state, longLineFile);
}
BENCHMARK(BM_NormalFile)->Unit(benchmark::kMicrosecond)->Iterations(kNormalPairs)->UseManualTime();
BENCHMARK(BM_LongLineFile)->Unit(benchmark::kMillisecond)->Iterations(kLongLinePairs)->UseManualTime();

void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char** argv) {
    if (!zbench::initialize(argc, argv))
        return 1;
    zbench::Reporter reporter;
    try {
        zbench::TempFolder folder;
        normalFile = (folder.path() / "Zephrel.ini").string();
        longLineFile = (folder.path() / "LongLine.ini").string();
        writeText(normalFile, settingsText(0));
        writeText(longLineFile, settingsText(kLongLineBytes));
        // Only a file that has not changed for the settle time is kept between reads.
        std::this_thread::sleep_for(profile::DocumentCache::kSettleTime + std::chrono::milliseconds(100));
        std::printf(
            "%zu keys read from a settings file of %zu bytes, and from the same with a line of %zu bytes\n",
            kKeys, settingsText(0).size(), kLongLineBytes);
        zbench::run(reporter);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ProfileReadBench: %s\n", e.what());
        return 1;
    }
    for (const char* name : {"BM_NormalFile", "BM_LongLineFile"}) {
        if (!reporter.ran(name))
            continue;
        std::printf("%s: %zu reads %.3f ms, one parse %.3f ms\n", name + 3, kKeys,
                    reporter.counter(name, "reads_ms"), reporter.counter(name, "parse_ms"));
        reporter.printRatio(name, "reads/parse", "the reads' time over one parse's");
    }
    return reporter.failed() ? 1 : 0;
}
