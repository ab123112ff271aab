// Opening a large recording for reading, against hashing the same bytes with OpenSSL's MD5.
//
// Opening a file whose tracks carry digests reads every track's data once (1024 bytes at a time)
// and digests it; everything else open does is reading a few headers. So the cost of open is
// essentially the digest plus the reads, and MD5 over the same number of bytes held in memory is
// the anchor. The recording (about 256 MiB, four tracks) is written once into a temporary folder
// and stays in the page cache; it is removed at exit.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/OpenSslMd5.h"
#include "common/DataBuffer.h"
#include "common/Log.h"
#include "common/ZephrelException.h"
#include "common/ZflFile.h"

namespace {

constexpr uint32_t kTracks = 4;
constexpr std::size_t kTrackBytes = std::size_t{64} << 20;
constexpr uint32_t kDiscPerTrack = 1024;
constexpr int kPairs = 5;

// The records of one track: all groups, four engines, 20 samples a second.
struct TrackData {
    DataFormat format{};
    uint32_t nCont = 0;
    uint32_t nDisc = 0;
    std::vector<unsigned char> cont;
    std::vector<unsigned char> disc;
    std::size_t bytes() const { return cont.size() + disc.size(); }
};

TrackData makeTrackData() {
    TrackData t;
    t.format.nEngines = 4;
    t.format.ContFlags = ContGroup::All;
    t.format.DiscFlags = DiscGroup::All;
    t.format.contRecordSize = contRecordSize(t.format.ContFlags, t.format.nEngines);
    t.format.discRecordSize = discRecordSize(t.format.DiscFlags);
    t.nDisc = kDiscPerTrack;
    t.nCont = static_cast<uint32_t>((kTrackBytes - std::size_t{t.nDisc} * t.format.discRecordSize) /
                                    t.format.contRecordSize);
    t.cont.resize(std::size_t{t.nCont} * t.format.contRecordSize);
    t.disc.resize(std::size_t{t.nDisc} * t.format.discRecordSize);

    DataBuffer records(t.cont.data(), t.disc.data(), t.format);
    std::mt19937 random(0x2b);
    std::uniform_int_distribution<int> jitter(-300, 300);
    ContData c{};
    c.latitude = int64_t{2200000000} << 20;
    c.longitude = int64_t{-500000000} << 28;
    c.altitude = int64_t{1500} << 32;
    for (uint32_t i = 0; i < t.nCont; ++i) {
        c.timestamp = i * 500;
        c.latitude += 40000 + jitter(random);
        c.longitude += 90000 + jitter(random);
        c.altitude += jitter(random) << 12;
        c.pitch = jitter(random) << 16;
        c.bank = jitter(random) << 18;
        c.heading += static_cast<uint32_t>(1000 + jitter(random));
        c.velocityX = 120.0 + jitter(random) / 100.0;
        c.velocityZ = 80.0 + jitter(random) / 100.0;
        c.elevators = static_cast<int16_t>(jitter(random) * 10);
        c.ailerons = static_cast<int16_t>(jitter(random) * 10);
        c.IAS = 140.0f + static_cast<float>(jitter(random)) / 50.0f;
        c.TAS = c.IAS * 1.1f;
        records.setContData(i, c);
    }
    DiscData d{};
    for (uint32_t i = 0; i < t.nDisc; ++i) {
        d.timestamp = i * (t.nCont / t.nDisc) * 500;
        d.flaps = static_cast<uint8_t>(i % 5);
        d.lights = static_cast<uint16_t>(i);
        records.setDiscData(i, d);
    }
    return t;
}

// The recording written once for the whole run; it goes with its folder, also when writing fails.
class Recording {
  public:
    Recording() : path_((folder_.path() / "large.zfl").string()), track_(makeTrackData()) {
        ZflFile file;
        file.open(path_, ZflFile::Write);
        for (uint32_t t = 0; t < kTracks; ++t) {
            TrackInfo info{};
            std::snprintf(info.title, sizeof info.title, "Benchmark Aircraft %u", t + 1);
            std::snprintf(info.tailNumber, sizeof info.tailNumber, "ZB-%03u", t + 1);
            info.staticCGtoGround = 1.8f;
            info.format = track_.format;
            info.originalRecording = 1;
            file.addTrack(info);
            // In pieces, the way the recorder hands them over.
            constexpr uint32_t kChunk = 4096;
            for (uint32_t first = 0; first < track_.nCont; first += kChunk)
                file.writeContData(std::min(kChunk, track_.nCont - first),
                                   track_.cont.data() + std::size_t{first} * track_.format.contRecordSize);
            file.writeDiscData(track_.nDisc, track_.disc.data());
        }
        file.close();
        fileBytes_ = std::filesystem::file_size(path_);
    }

    const std::string& path() const { return path_; }
    const TrackData& track() const { return track_; }
    // Bytes of track data that open digests.
    std::size_t digestedBytes() const { return kTracks * track_.bytes(); }
    uintmax_t fileBytes() const { return fileBytes_; }

  private:
    zbench::TempFolder folder_;
    std::string path_;
    TrackData track_;
    uintmax_t fileBytes_ = 0;
};

Recording* recording = nullptr;

// Opens the recording and checks that every track was recognised as an original recording.
bool openAndVerify(const std::string& path) {
    ZflFile file;
    file.open(path, ZflFile::Read);
    bool allOriginal = file.getNTracks() == kTracks;
    for (uint32_t t = 0; t < file.getNTracks(); ++t)
        allOriginal = allOriginal && file.getTrackInfo(t).originalRecording == 1;
    file.close();
    return allOriginal;
}

// MD5 over the same bytes as open digests: the track data, once per track, from memory.
uint64_t md5OfTracks(zbench::OpenSslMd5& md5, const TrackData& track) {
    md5.begin();
    for (uint32_t t = 0; t < kTracks; ++t) {
        md5.update(track.cont.data(), track.cont.size());
        md5.update(track.disc.data(), track.disc.size());
    }
    return md5.finish();
}

// One iteration is one pair; the reported time is open's, the MD5 half is in the counters.
void BM_ZflFileOpenVsMd5(benchmark::State& state) {
    const TrackData& track = recording->track();
    zbench::OpenSslMd5 md5;
    std::vector<double> ratios;
    ratios.reserve(static_cast<std::size_t>(state.max_iterations));
    double openSeconds = 0;
    double md5Seconds = 0;
    bool verified = true;
    bool openFirst = true;
    for (auto _ : state) {
        double o = 0;
        double m = 0;
        auto runOpen = [&] {
            o = zbench::timed([&] { verified = openAndVerify(recording->path()) && verified; });
        };
        auto runMd5 = [&] { m = zbench::timed([&] { benchmark::DoNotOptimize(md5OfTracks(md5, track)); }); };
        if (openFirst) {
            runOpen();
            runMd5();
        } else {
            runMd5();
            runOpen();
        }
        openFirst = !openFirst;
        state.SetIterationTime(o);
        openSeconds += o;
        md5Seconds += m;
        ratios.push_back(m / o);
    }
    if (!verified) {
        state.SkipWithError("a track of the recording was not recognised as an original recording");
        return;
    }
    const double bytes =
        static_cast<double>(state.iterations()) * static_cast<double>(recording->digestedBytes());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(recording->digestedBytes()));
    state.counters["md5_bytes_per_second"] =
        benchmark::Counter(bytes / md5Seconds, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["open_bytes_per_second"] =
        benchmark::Counter(bytes / openSeconds, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["ratio"] = zbench::median(ratios);
}
BENCHMARK(BM_ZflFileOpenVsMd5)->Unit(benchmark::kMillisecond)->Iterations(kPairs)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    // Nothing here is meant to fail; if it does, the exception says why, not a log file.
    Log::setLogFlags(0);
    if (!zbench::initialize(argc, argv))
        return 1;
    zbench::Reporter reporter;
    try {
        Recording file;
        recording = &file;
        // The first open after writing also brings the file into the page cache.
        if (!openAndVerify(file.path())) {
            std::fprintf(stderr, "ZflFileOpenBench: the tracks just written do not verify as original\n");
            return 1;
        }
        std::printf("recording: %s, %.1f MiB, %u tracks of %u continuous + %u discrete records\n",
                    file.path().c_str(), static_cast<double>(file.fileBytes()) / (1024.0 * 1024.0), kTracks,
                    file.track().nCont, file.track().nDisc);
        zbench::run(reporter);
        recording = nullptr;
    } catch (const ZephrelException& e) {
        std::fprintf(stderr, "ZflFileOpenBench: %s\n", e.logText.c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ZflFileOpenBench: %s\n", e.what());
        return 1;
    }
    constexpr double kMiB = 1024.0 * 1024.0;
    if (reporter.ran("BM_ZflFileOpenVsMd5")) {
        std::printf("interleaved pairs: ZflFile::open %.1f MiB/s, openssl-md5 from memory %.1f MiB/s\n",
                    reporter.counter("BM_ZflFileOpenVsMd5", "open_bytes_per_second") / kMiB,
                    reporter.counter("BM_ZflFileOpenVsMd5", "md5_bytes_per_second") / kMiB);
        reporter.printRatio("BM_ZflFileOpenVsMd5", "zflfile-open/openssl-md5", "aim >= 0.8");
    }
    return reporter.failed() ? 1 : 0;
}
