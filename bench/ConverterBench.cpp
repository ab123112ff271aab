// The converter on a long track, 1,000,000 continuous records (every group, four engines, 20 a
// second, a discrete change every 50), to text and back: records and MB (10^6 bytes) of text per
// second. Each conversion is timed in pairs with an anchor, the order alternating; the ratio is the
// conversion's time over the anchor's, the median over the pairs. export/read: the records read as
// the export reads them, nothing written. export/snprintf: the same lines by std::snprintf (checked
// first on 100,000 records to be the export's). import/fgets: the text in the import's 1024-byte
// reads. The anchors' streams get 1 MiB buffers of their own, as the converter's do.
// Memory and allocations: each direction at 100,000 and at 1,000,000 records, each in a fresh
// process (--memory-probe) that reports the rise of its peak resident size (VmHWM) and its calls of
// operator new. Neither should grow with the continuous records; the import holds the track's
// discrete records (20,000 of 37 bytes) until the track ends.

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/CountingNew.h"
#include "common/DataBuffer.h"
#include "common/FlightData.h"
#include "common/ZflFile.h"
#include "converter/ConversionError.h"
#include "converter/TextExport.h"
#include "converter/TextImport.h"

namespace {

constexpr uint32_t kRecords[] = {100000, 1000000}; // the small track and the timed one
constexpr uint32_t kDiscEvery = 50;
constexpr uint32_t kTicksPerRecord = 500; // 1/10000 s: 20 samples a second
constexpr uint32_t kChunk = 4096;         // records per read, as the export reads them
constexpr uint32_t kNoFurtherChange = 0xFFFFFFFFu;
constexpr uint32_t kStartSecond = 18 * 3600; // the track crosses midnight
constexpr int kPairs = 5;

uint16_t bcd4(uint32_t v) {
    return static_cast<uint16_t>((v / 1000 % 10) << 12 | (v / 100 % 10) << 8 | (v / 10 % 10) << 4 | v % 10);
}

// A flight in circles at 120 knots, climbing and descending, with a little noise on everything the
// pilot moves; every value is one the simulator could report. The extended groups stay at zero:
// the text has no columns for them.
ContData contRecord(uint32_t i, std::mt19937& random) {
    constexpr double kRad = 3.141592653589793 / 180;
    std::uniform_real_distribution<double> jitter(-1.0, 1.0);
    const auto noise = [&](double scale) { return scale * jitter(random); };
    const auto input = [&](double v) {
        return static_cast<int16_t>(std::clamp(std::lround(v + noise(20)), -16383L, 16383L));
    };
    const double t = i * (kTicksPerRecord / 10000.0), heading = std::fmod(90.0 + i * 0.01, 360.0);
    const double speed = 202.5 + 3 * std::sin(t / 40); // feet per second
    const uint32_t second = (kStartSecond + i / 20) % 86400;
    ContData c{};
    c.timestamp = i * kTicksPerRecord;
    // Turning 0.2 degrees a second: a circle of 35 km across, flown in 30 minutes.
    c.latitude = latitudeFromDegrees(47.30 + 0.159 * std::sin(heading * kRad));
    c.longitude = longitudeFromDegrees(8.55 - 0.234 * std::cos(heading * kRad));
    c.altitude = altitudeFromMetres(1500 + 300 * std::sin(t / 1000));
    c.pitch = static_cast<int32_t>(angleFromDegrees(2.5 * std::sin(t / 25) + noise(0.05)));
    c.bank = static_cast<int32_t>(angleFromDegrees(15 * std::sin(t / 40) + noise(0.1)));
    c.heading = angleFromDegrees(heading);
    c.velocityX = speed * std::sin(heading * kRad) + noise(0.2);
    c.velocityY = 0.3 / 0.3048 * std::cos(t / 1000) + noise(0.2);
    c.velocityZ = speed * std::cos(heading * kRad) + noise(0.2);
    c.elevators = input(-2000 + 1500 * std::sin(t / 25));
    c.ailerons = input(4000 * std::sin(t / 40));
    c.rudder = input(300 * std::sin(t / 17));
    for (int e = 0; e < kMaxEngines; ++e) {
        c.throttle[e] = input(12500 + 150 * e + 500 * std::sin(t / 300));
        c.prop[e] = input(14000 + 10 * e);
        c.mix[e] = input(16383 - 200 * std::sin(t / 600));
    }
    c.spoilers = static_cast<uint16_t>(i / 20000 % 5 == 4 ? 8192 : 0);
    c.IAS = static_cast<float>(120 + 5 * std::sin(t / 40) + noise(0.3));
    c.TAS = c.IAS * 1.08f;
    c.mach = c.TAS / 661.47f;
    c.mainexit = i / 30000 % 7 == 3 ? 0.5f : 0.0f;
    c.wingfoldL = c.wingfoldR = static_cast<float>(0.25 + 0.25 * std::sin(t / 900));
    c.windDir = static_cast<uint16_t>((270 + i / 1000) % 360);
    c.windSpd = static_cast<uint16_t>(10 + i / 3000 % 15);
    c.hour = static_cast<uint8_t>(second / 3600);
    c.minute = static_cast<uint8_t>(second / 60 % 60);
    c.second = static_cast<uint8_t>(second % 60);
    return c;
}

// The discrete record in force from continuous record i on; the OBS turns every time, so each one
// is a change. The track ends the next morning.
DiscData discRecord(uint32_t i) {
    const uint32_t k = i / kDiscEvery;
    const bool nextDay = kStartSecond + i / 20 >= 86400;
    DiscData d{};
    d.timestamp = i * kTicksPerRecord;
    d.onground = k < 4;
    d.flaps = static_cast<uint8_t>(k / 40 % 5);
    d.gear = static_cast<int16_t>(k / 100 % 2 == 0 ? 0x3FFF : 0);
    d.lights = static_cast<uint16_t>((k * 7) & 0x3FF);
    d.parkbrake = k < 2;
    d.engines = static_cast<uint8_t>(k / 500 % 9 == 8 ? 0x07 : 0x0F);
    d.nav1 = bcd4(800 + 5 * (k % 200)) | (k % 360) << 16;
    d.nav2 = bcd4(800 + 5 * (k * 3 % 200)) | (k * 7 % 360) << 16;
    d.adf = uint32_t{bcd4(190 + k * 13 % 1560)} << 16 | (k % 10) << 12;
    d.com = bcd4(1800 + 5 * (k % 380)) | uint32_t{bcd4(1800 + 5 * (k * 11 % 380))} << 16;
    d.squawk = bcd4(k % 8 * 1000 + k / 8 % 8 * 100 + k / 64 % 8 * 10 + k / 512 % 8); // octal digits
    d.autopilot = static_cast<uint8_t>(k / 20 % 2);
    d.year = 2024;
    d.month = nextDay ? 7 : 6;
    d.day = nextDay ? 1 : 30;
    return d;
}

void writeRecording(const std::string& path, uint32_t records) {
    TrackInfo info{};
    std::snprintf(info.title, sizeof info.title, "Benchmark Aircraft");
    std::snprintf(info.tailNumber, sizeof info.tailNumber, "HB-ZCB");
    info.staticCGtoGround = 1.85f;
    info.format = {4, ContGroup::All, DiscGroup::All, contRecordSize(ContGroup::All, 4),
                   discRecordSize(DiscGroup::All)};
    ZflFile recording;
    recording.open(path, ZflFile::Write);
    recording.addTrack(info);
    const uint32_t nDisc = (records + kDiscEvery - 1) / kDiscEvery;
    std::vector<unsigned char> cont(std::size_t{kChunk} * info.format.contRecordSize);
    std::vector<unsigned char> disc(std::size_t{nDisc} * info.format.discRecordSize);
    DataBuffer buffer(cont.data(), disc.data(), info.format);
    std::mt19937 random(0xC0FFEE);
    for (uint32_t first = 0; first < records; first += kChunk) {
        const uint32_t count = std::min(kChunk, records - first);
        for (uint32_t k = 0; k < count; ++k)
            buffer.setContData(k, contRecord(first + k, random));
        recording.writeContData(count, cont.data());
    }
    for (uint32_t k = 0; k < nDisc; ++k)
        buffer.setDiscData(k, discRecord(k * kDiscEvery));
    recording.writeDiscData(nDisc, disc.data());
    recording.close();
}

// Every continuous record of the first track as the export reads it, with the discrete state in
// force at it: line(cont, disc) per record.
template <typename Line> void forEachRecord(const std::string& path, Line&& line) {
    ZflFile recording;
    recording.open(path, ZflFile::Read);
    const TrackInfo& info = recording.getTrackInfo(0);
    std::vector<unsigned char> cont(std::size_t{kChunk} * info.format.contRecordSize);
    std::vector<unsigned char> disc(info.format.discRecordSize);
    DataBuffer buffer(cont.data(), disc.data(), info.format);
    ContData record{};
    DiscData current{};
    DiscData next{};
    next.timestamp = kNoFurtherChange;
    uint32_t nextIndex = 0;
    if (info.nDisc > 0 && recording.readDiscData(0, 0, 1, disc.data()) == 1)
        buffer.getDiscData(0, next);
    for (uint32_t first = 0; first < info.nCont; first += kChunk) {
        const uint32_t count = recording.readContData(0, first, kChunk, cont.data());
        for (uint32_t k = 0; k < count; ++k) {
            buffer.getContData(k, record);
            if (record.timestamp >= next.timestamp) {
                current = next;
                next.timestamp = kNoFurtherChange;
                if (++nextIndex < info.nDisc && recording.readDiscData(0, nextIndex, 1, disc.data()) == 1)
                    buffer.getDiscData(0, next);
            }
            line(record, current);
        }
    }
}

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// A text stream through buffer, given 1 MiB here, which must outlive it.
File openText(const std::string& path, const char* mode, std::vector<char>& buffer) {
    File stream(std::fopen(path.c_str(), mode), [](std::FILE* f) { return std::fclose(f); });
    if (!stream)
        throw ConversionError{"cannot open " + path};
    buffer.resize(std::size_t{1} << 20);
    std::setvbuf(stream.get(), buffer.data(), _IOFBF, buffer.size());
    return stream;
}

// The snprintf anchor: the export's data lines (all groups, four engines, altitude in feet).
void printfExport(const std::string& inputPath, const std::string& outputPath) {
    std::vector<char> buffer;
    File out = openText(outputPath, "w", buffer);
    char text[1024];
    forEachRecord(inputPath, [&](const ContData& c, const DiscData& d) {
        const int n = std::snprintf(
            text, sizeof text,
            "       %9.4f  %15.10f  %15.10f  %10.3f  %8.3f  %8.3f  %8.3f  %8d  %11.5f  %11.5f  %11.5f  "
            "%9d  %8d  %6d  %9d %9d %9d %9d %5d %5d %5d %5d %5d %5d %5d %5d %8d  %5d  %4d  %6d  %9d  "
            "%7u  %7u  %7u  %7u  %7.2f %7u %7.2f %7u %6.1f  %7.2f %7.2f %6u  %5d  %6.2f %6.2f  %5.3f  "
            "%8.6f %8.6f %9.6f %9.6f      %03d %7d  %9d %8d  %04d-%02d-%02d  %02d:%02d:%02d \n",
            c.timestamp / 10000.0, latitudeDegrees(c.latitude), longitudeDegrees(c.longitude),
            altitudeMetres(c.altitude) * (1 / 0.3048), -angleDegrees(c.pitch) + 0.0,
            -angleDegrees(c.bank) + 0.0, headingDegrees(c.heading), d.onground, c.velocityX, c.velocityY,
            c.velocityZ, c.elevators, c.ailerons, c.rudder, c.throttle[0], c.throttle[1], c.throttle[2],
            c.throttle[3], c.prop[0], c.prop[1], c.prop[2], c.prop[3], c.mix[0], c.mix[1], c.mix[2], c.mix[3],
            c.spoilers, d.flaps, d.gear != 0 ? 1 : 0, d.lights, d.parkbrake, d.engines & 1u,
            (d.engines >> 1) & 1u, (d.engines >> 2) & 1u, (d.engines >> 3) & 1u,
            bcdNavComMHz(static_cast<uint16_t>(d.nav1)), d.nav1 >> 16,
            bcdNavComMHz(static_cast<uint16_t>(d.nav2)), d.nav2 >> 16, bcdAdfKHz(d.adf),
            bcdNavComMHz(static_cast<uint16_t>(d.com)), bcdNavComMHz(static_cast<uint16_t>(d.com >> 16)),
            bcdSquawk(d.squawk), d.smoke, double{c.IAS}, double{c.TAS}, double{c.mach}, double{c.mainexit},
            double{c.tailhook}, double{c.wingfoldL}, double{c.wingfoldR}, c.windDir, c.windSpd, d.autopilot,
            d.concnose, d.year, d.month, d.day, c.hour, c.minute, c.second);
        if (n < 0 || static_cast<std::size_t>(n) >= sizeof text ||
            std::fwrite(text, 1, static_cast<std::size_t>(n), out.get()) != static_cast<std::size_t>(n))
            throw ConversionError{"cannot write " + outputPath};
    });
    if (std::fclose(out.release()) != 0)
        throw ConversionError{"cannot write " + outputPath};
}

// A file of the run, in a folder of our own that main removes with everything in it.
std::string file(const std::string& name) {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zephrel-converter-bench-" + std::to_string(getpid()));
    return (folder / name).string();
}

// The snprintf anchor is only a fair one if it writes the export's text: its lines of the small
// recording must be the export's data lines, which follow five header lines and end before the
// markers.
void compareWithPrintf() {
    printfExport(file("small.zfl"), file("printf.txt"));
    std::ifstream exported(file("small.txt"));
    std::ifstream printed(file("printf.txt"));
    std::string e;
    std::string p;
    for (int header = 0; header < 5; ++header)
        std::getline(exported, e);
    while (std::getline(printed, p))
        if (!std::getline(exported, e) || e != p)
            throw ConversionError{"the snprintf anchor writes\n" + p + "\nwhere the export writes\n" + e};
    if (!std::getline(exported, e) || !e.empty()) // the empty line before the markers
        throw ConversionError{"the export has more lines than the snprintf anchor"};
}

std::string describe(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const ConversionError& e) {
        return e.message;
    } catch (const std::exception& e) { // a ZephrelException tells its log text
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}

// The read anchor: the records and nothing else; the sum keeps the reading from being left out.
uint64_t readRecords(const std::string& path) {
    uint64_t sum = 0;
    forEachRecord(path, [&](const ContData& c, const DiscData& d) {
        sum += c.timestamp + static_cast<uint64_t>(c.latitude) + d.lights;
    });
    return sum;
}

// The fgets anchor: the text read in the import's line-sized pieces.
uint64_t fgetsText(const std::string& path) {
    std::vector<char> buffer;
    const File in = openText(path, "r", buffer);
    char line[1024];
    uint64_t characters = 0;
    while (std::fgets(line, sizeof line, in.get()) != nullptr)
        characters += std::strlen(line);
    return characters;
}

// A conversion of the large track and its anchor, timed together as one benchmark.
struct Pair {
    const char* name;
    const char* ratio; // as printed
    void (*conversion)();
    void (*anchor)();
};

const Pair kPairList[] = {
    {"BM_ExportVsRead", "export/read", [] { exportText(file("large.zfl"), file("export.txt"), false); },
     [] { benchmark::DoNotOptimize(readRecords(file("large.zfl"))); }},
    {"BM_ExportVsSnprintf", "export/snprintf",
     [] { exportText(file("large.zfl"), file("export.txt"), false); },
     [] { printfExport(file("large.zfl"), file("printf.txt")); }},
    {"BM_ImportVsFgets", "import/fgets", [] { importText(file("large.txt"), file("import.zfl"), false); },
     [] { benchmark::DoNotOptimize(fgetsText(file("large.txt"))); }},
};

// One iteration is a pair, the order alternating; the reported time is the conversion's, the
// anchor's is in the counters.
void timePair(benchmark::State& state, const Pair& pair) {
    std::vector<double> ratios;
    double conversionSeconds = 0;
    double anchorSeconds = 0;
    try {
        for (auto _ : state) {
            const bool conversionFirst = ratios.size() % 2 == 0;
            double a = conversionFirst ? 0 : zbench::timed(pair.anchor);
            const double c = zbench::timed(pair.conversion);
            if (conversionFirst)
                a = zbench::timed(pair.anchor);
            state.SetIterationTime(c);
            conversionSeconds += c;
            anchorSeconds += a;
            ratios.push_back(c / a);
        }
    } catch (...) {
        state.SkipWithError(describe(std::current_exception()).c_str());
        return;
    }
    const auto n = static_cast<double>(state.iterations());
    const double megabytes = n * static_cast<double>(std::filesystem::file_size(file("large.txt"))) / 1e6;
    state.counters["records_per_s"] = n * kRecords[1] / conversionSeconds;
    state.counters["text_MB_per_s"] = megabytes / conversionSeconds;
    state.counters["anchor_records_per_s"] = n * kRecords[1] / anchorSeconds;
    state.counters["anchor_MB_per_s"] = megabytes / anchorSeconds;
    state.counters["ratio"] = zbench::median(ratios);
}

// The peak resident size so far, in kB (VmHWM of /proc/self/status); 0 if it cannot be read.
long peakResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

// Each direction at both sizes, each in a fresh process so that the peak is the conversion's own;
// false if a probe failed.
bool reportMemory() {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::printf("one conversion in a fresh process: rise of the peak resident size, operator new calls\n");
    bool ok = true;
    for (const bool exporting : {true, false}) {
        long kb[2] = {};
        unsigned long long news[2] = {};
        for (int size = 0; size < 2; ++size) {
            const std::string input =
                std::string(size == 0 ? "small" : "large") + (exporting ? ".zfl" : ".txt");
            const std::string command = "'" + self + "' --memory-probe " +
                                        (exporting ? "export '" : "import '") + file(input) + "' '" +
                                        file(exporting ? "export.txt" : "import.zfl") + "'";
            std::FILE* child = popen(command.c_str(), "r");
            const bool read = child != nullptr && std::fscanf(child, "%ld %llu", &kb[size], &news[size]) == 2;
            ok = child != nullptr && pclose(child) == 0 && read && ok;
        }
        std::printf("  %s: %u records +%ld kB, %u records +%ld kB: difference %+ld kB; operator new calls "
                    "%llu and %llu: %.6f per further record\n",
                    exporting ? "export" : "import", kRecords[0], kb[0], kRecords[1], kb[1], kb[1] - kb[0],
                    news[0], news[1],
                    (static_cast<double>(news[1]) - static_cast<double>(news[0])) /
                        (kRecords[1] - kRecords[0]));
    }
    return ok;
}

// Removes the run's folder however main ends.
struct Cleanup {
    ~Cleanup() {
        std::error_code ignored;
        std::filesystem::remove_all(file(""), ignored);
    }
};

} // namespace

int main(int argc, char** argv) {
    zbench::Reporter reporter;
    bool memoryOk = false;
    try {
        if (argc == 5 && std::strcmp(argv[1], "--memory-probe") == 0) {
            // --memory-probe export|import INPUT OUTPUT: one conversion; the rise of the peak resident
            // size in kB and the calls of operator new.
            const std::string input = argv[3], output = argv[4];
            const long peak = peakResidentKb();
            const uint64_t news = zbench::newCalls();
            if (std::strcmp(argv[2], "export") == 0)
                exportText(input, output, false);
            else
                importText(input, output, false);
            const auto calls = static_cast<unsigned long long>(zbench::newCalls() - news);
            std::printf("%ld %llu\n", peakResidentKb() - peak, calls);
            return 0;
        }
        // The counts are only worth something if the replacement is the operator new in use.
        if (!zbench::countingNewInUse())
            throw ConversionError{"the replaced operator new is not in use"};
        for (const Pair& pair : kPairList)
            benchmark::RegisterBenchmark(pair.name, timePair, pair)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(kPairs)
                ->UseManualTime();
        if (!zbench::initialize(argc, argv))
            return 1;
        std::filesystem::create_directories(file(""));
        const Cleanup cleanup;
        for (int size = 0; size < 2; ++size) {
            const std::string name = size == 0 ? "small" : "large";
            writeRecording(file(name + ".zfl"), kRecords[size]);
            exportText(file(name + ".zfl"), file(name + ".txt"), false);
        }
        compareWithPrintf();
        std::printf("recording: %u continuous + %u discrete records, %.1f MB; its text %.1f MB\n",
                    kRecords[1], kRecords[1] / kDiscEvery,
                    static_cast<double>(std::filesystem::file_size(file("large.zfl"))) / 1e6,
                    static_cast<double>(std::filesystem::file_size(file("large.txt"))) / 1e6);
        zbench::run(reporter);
        memoryOk = reportMemory();
    } catch (...) {
        std::fprintf(stderr, "ConverterBench: %s\n", describe(std::current_exception()).c_str());
        return 1;
    }
    for (const Pair& pair : kPairList)
        reporter.printRatio(pair.name, pair.ratio, "the converter's time over the anchor's");
    return reporter.failed() || !memoryOk ? 1 : 0;
}
