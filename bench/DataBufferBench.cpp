// DataBuffer's copies between stored records and the full records, with every group present
// (ContFlags 0x7fff, DiscFlags 0x7ff, four engines: 187-byte continuous and 37-byte discrete
// records), in nanoseconds per record.
//
// The anchor is a plain memcpy of 187 bytes per record (a full ContData) in the same direction,
// interleaved with the operation pass by pass; the ratio is the operation's time over the anchor's
// (the median over the passes). The copies run for every sample of every track, so they must not
// allocate: this program counts the calls of the global operator new (CountingNew.h) during each
// timed loop ("allocs"); a non-zero count fails the benchmark and the program.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/CountingNew.h"
#include "common/DataBuffer.h"

namespace {

// Runs whose timed loop called operator new.
std::atomic<int> allocatingRuns{0};

// Enough records that a pass is long against the clock, few enough to stay in the caches.
constexpr uint32_t kRecords = 1024;
constexpr std::size_t kAnchorBytes = sizeof(ContData); // 187

DataFormat allGroups() {
    DataFormat format{};
    format.nEngines = 4;
    format.ContFlags = ContGroup::All;
    format.DiscFlags = DiscGroup::All;
    return format; // record sizes 0: as the flags require
}

// Stored records for kRecords samples, with every byte set.
struct Records {
    std::vector<unsigned char> cont =
        std::vector<unsigned char>(kRecords * std::size_t{contRecordSize(ContGroup::All, 4)});
    std::vector<unsigned char> disc =
        std::vector<unsigned char>(kRecords * std::size_t{discRecordSize(DiscGroup::All)});
    // The anchor's own 187-byte slots.
    std::vector<unsigned char> anchor = std::vector<unsigned char>(kRecords * kAnchorBytes);
    Records() {
        for (std::size_t i = 0; i < cont.size(); ++i)
            cont[i] = static_cast<unsigned char>(i * 7 + 1);
        for (std::size_t i = 0; i < disc.size(); ++i)
            disc[i] = static_cast<unsigned char>(i * 5 + 3);
        for (std::size_t i = 0; i < anchor.size(); ++i)
            anchor[i] = static_cast<unsigned char>(i * 3 + 2);
    }
};

template <typename Full> Full filled(unsigned char seed) {
    Full full;
    auto* bytes = reinterpret_cast<unsigned char*>(&full);
    for (std::size_t i = 0; i < sizeof full; ++i)
        bytes[i] = static_cast<unsigned char>(seed + i);
    return full;
}

enum class Direction { Get, Set };

// Times passes of op over all records, each paired with a pass of the anchor in the same direction
// (the order alternating), and reports both per record, their ratio and the allocations.
template <Direction direction, typename Op> void measure(benchmark::State& state, Op op) {
    Records records;
    DataBuffer buffer(records.cont.data(), records.disc.data(), allGroups());
    ContData anchorFull = filled<ContData>(9);
    std::vector<double> ratios;
    ratios.reserve(static_cast<std::size_t>(state.max_iterations));
    double opSeconds = 0;
    double anchorSeconds = 0;
    bool opFirst = true;

    auto anchorPass = [&] {
        unsigned char* slots = records.anchor.data();
        for (uint32_t i = 0; i < kRecords; ++i) {
            if constexpr (direction == Direction::Get) {
                std::memcpy(&anchorFull, slots + std::size_t{i} * kAnchorBytes, kAnchorBytes);
                benchmark::DoNotOptimize(anchorFull);
            } else {
                anchorFull.timestamp = i;
                std::memcpy(slots + std::size_t{i} * kAnchorBytes, &anchorFull, kAnchorBytes);
                benchmark::DoNotOptimize(slots);
            }
        }
        benchmark::ClobberMemory();
    };
    auto opPass = [&] {
        op(buffer);
        benchmark::ClobberMemory();
    };

    const uint64_t newsBefore = zbench::newCalls();
    for (auto _ : state) {
        double o = 0;
        double a = 0;
        if (opFirst) {
            o = zbench::timed(opPass);
            a = zbench::timed(anchorPass);
        } else {
            a = zbench::timed(anchorPass);
            o = zbench::timed(opPass);
        }
        opFirst = !opFirst;
        state.SetIterationTime(o);
        opSeconds += o;
        anchorSeconds += a;
        ratios.push_back(o / a);
    }
    const uint64_t allocations = zbench::newCalls() - newsBefore;

    const double perRecord = 1e9 / (static_cast<double>(state.iterations()) * kRecords);
    state.counters["ns_per_record"] = opSeconds * perRecord;
    state.counters["memcpy187_ns_per_record"] = anchorSeconds * perRecord;
    state.counters["ratio"] = zbench::median(ratios);
    state.counters["allocs"] = static_cast<double>(allocations);
    if (allocations != 0) {
        state.SetLabel("ALLOCATES IN THE TIMED LOOP");
        allocatingRuns.fetch_add(1);
    }
}

void BM_GetContData(benchmark::State& state) {
    ContData out = filled<ContData>(1);
    measure<Direction::Get>(state, [&](const DataBuffer& buffer) {
        for (uint32_t i = 0; i < kRecords; ++i) {
            buffer.getContData(i, out);
            benchmark::DoNotOptimize(out);
        }
    });
}

void BM_SetContData(benchmark::State& state) {
    ContData in = filled<ContData>(2);
    measure<Direction::Set>(state, [&](DataBuffer& buffer) {
        for (uint32_t i = 0; i < kRecords; ++i) {
            in.timestamp = i;
            buffer.setContData(i, in);
        }
    });
}

void BM_GetDiscData(benchmark::State& state) {
    DiscData out = filled<DiscData>(3);
    measure<Direction::Get>(state, [&](const DataBuffer& buffer) {
        for (uint32_t i = 0; i < kRecords; ++i) {
            buffer.getDiscData(i, out);
            benchmark::DoNotOptimize(out);
        }
    });
}

void BM_SetDiscData(benchmark::State& state) {
    DiscData in = filled<DiscData>(4);
    measure<Direction::Set>(state, [&](DataBuffer& buffer) {
        for (uint32_t i = 0; i < kRecords; ++i) {
            in.timestamp = i;
            buffer.setDiscData(i, in);
        }
    });
}

} // namespace

BENCHMARK(BM_GetContData)->UseManualTime()->MinTime(0.3);
BENCHMARK(BM_SetContData)->UseManualTime()->MinTime(0.3);
BENCHMARK(BM_GetDiscData)->UseManualTime()->MinTime(0.3);
BENCHMARK(BM_SetDiscData)->UseManualTime()->MinTime(0.3);

int main(int argc, char** argv) {
    // The count is only worth something if the replacement is the operator new in use.
    if (!zbench::countingNewInUse()) {
        std::fprintf(stderr,
                     "DataBufferBench: the replaced operator new is not in use; cannot count allocations\n");
        return 1;
    }

    if (!zbench::initialize(argc, argv))
        return 1;
    zbench::Reporter reporter;
    zbench::run(reporter);

    const char* const names[][2] = {
        {"BM_GetContData", "getContData/memcpy187"},
        {"BM_SetContData", "setContData/memcpy187"},
        {"BM_GetDiscData", "getDiscData/memcpy187"},
        {"BM_SetDiscData", "setDiscData/memcpy187"},
    };
    for (const auto& [name, what] : names) {
        if (!reporter.ran(name))
            continue;
        std::printf(
            "%-15s %6.2f ns/record, memcpy of 187 bytes %6.2f ns/record, allocations in timed loop: %.0f\n",
            name + 3, reporter.counter(name, "ns_per_record"),
            reporter.counter(name, "memcpy187_ns_per_record"), reporter.counter(name, "allocs"));
    }
    for (const auto& [name, what] : names)
        reporter.printRatio(name, what, "lower is better");
    if (allocatingRuns.load() != 0) {
        std::printf("FAILED: operator new was called inside a timed loop (see \"allocs\" in the table)\n");
        return 1;
    }
    return reporter.failed() ? 1 : 0;
}
