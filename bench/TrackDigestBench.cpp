// Throughput of the keyed track digest against OpenSSL's MD5 over the same 64 MiB buffer.
//
// The digest is MD5 with its input blocks XORed with a key, so MD5 is its natural anchor: the ratio
// digest/MD5 (of bytes per second) shows what the key and our portable compression function cost
// against a tuned library. The ratio comes from interleaved pairs (digest, MD5, then MD5, digest,
// ...) measured in the same run, and is the median of the pairs.

#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/OpenSslMd5.h"
#include "common/TrackDigest.h"

namespace {

constexpr std::size_t kBufferBytes = std::size_t{64} << 20;
constexpr int kPairs = 10;

const std::vector<unsigned char>& buffer() {
    static const std::vector<unsigned char> data = [] {
        std::vector<unsigned char> bytes(kBufferBytes);
        std::mt19937_64 random(0x5eed);
        for (std::size_t i = 0; i < bytes.size(); i += 8) {
            uint64_t r = random();
            for (std::size_t k = 0; k < 8; ++k)
                bytes[i + k] = static_cast<unsigned char>(r >> (8 * k));
        }
        return bytes;
    }();
    return data;
}

uint64_t trackDigest(const std::vector<unsigned char>& data) {
    TrackDigest digest;
    digest.update(data.data(), data.size());
    return digest.finish();
}

void BM_TrackDigest(benchmark::State& state) {
    const auto& data = buffer();
    for (auto _ : state)
        benchmark::DoNotOptimize(trackDigest(data));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}
BENCHMARK(BM_TrackDigest)->Unit(benchmark::kMillisecond)->MinTime(0.3)->UseRealTime();

void BM_OpenSslMd5(benchmark::State& state) {
    const auto& data = buffer();
    zbench::OpenSslMd5 md5;
    for (auto _ : state)
        benchmark::DoNotOptimize(md5(data.data(), data.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}
BENCHMARK(BM_OpenSslMd5)->Unit(benchmark::kMillisecond)->MinTime(0.3)->UseRealTime();

// One iteration is one pair; the reported time is the digest's, the MD5 half is in the counters.
void BM_TrackDigestVsMd5(benchmark::State& state) {
    const auto& data = buffer();
    zbench::OpenSslMd5 md5;
    std::vector<double> ratios;
    ratios.reserve(static_cast<std::size_t>(state.max_iterations));
    double digestSeconds = 0;
    double md5Seconds = 0;
    bool digestFirst = true;
    for (auto _ : state) {
        double d = 0;
        double m = 0;
        auto runDigest = [&] { d = zbench::timed([&] { benchmark::DoNotOptimize(trackDigest(data)); }); };
        auto runMd5 = [&] {
            m = zbench::timed([&] { benchmark::DoNotOptimize(md5(data.data(), data.size())); });
        };
        if (digestFirst) {
            runDigest();
            runMd5();
        } else {
            runMd5();
            runDigest();
        }
        digestFirst = !digestFirst;
        state.SetIterationTime(d);
        digestSeconds += d;
        md5Seconds += m;
        ratios.push_back(m / d); // bytes per second of the digest over those of MD5
    }
    const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(data.size());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
    state.counters["md5_bytes_per_second"] =
        benchmark::Counter(bytes / md5Seconds, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["digest_bytes_per_second"] =
        benchmark::Counter(bytes / digestSeconds, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["ratio"] = zbench::median(ratios);
}
BENCHMARK(BM_TrackDigestVsMd5)->Unit(benchmark::kMillisecond)->Iterations(kPairs)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    if (!zbench::initialize(argc, argv))
        return 1;
    zbench::Reporter reporter;
    try {
        zbench::run(reporter);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "TrackDigestBench: %s\n", e.what());
        return 1;
    }
    constexpr double kMiB = 1024.0 * 1024.0;
    if (reporter.ran("BM_TrackDigestVsMd5")) {
        std::printf("interleaved pairs over %zu MiB: track digest %.1f MiB/s, openssl-md5 %.1f MiB/s\n",
                    kBufferBytes >> 20,
                    reporter.counter("BM_TrackDigestVsMd5", "digest_bytes_per_second") / kMiB,
                    reporter.counter("BM_TrackDigestVsMd5", "md5_bytes_per_second") / kMiB);
        reporter.printRatio("BM_TrackDigestVsMd5", "digest/openssl-md5", "aim >= 0.9");
    }
    return reporter.failed() ? 1 : 0;
}
