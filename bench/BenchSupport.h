#pragma once

// Helpers shared by the benchmark programs: interleaved timing against an anchor, and a console
// reporter that keeps the finished runs so that a program can print its ratios after the table.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace zbench {

using Clock = std::chrono::steady_clock;

// Seconds taken by one call of f.
template <typename F> double timed(F&& f) {
    const Clock::time_point start = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The benchmark fails with the message of whatever escaped from the body (a ZephrelException
// tells its log text).
template <typename F> void guarded(benchmark::State& state, F&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// The median of values; the vector is reordered. 0 for an empty vector.
inline double median(std::vector<double>& values) {
    if (values.empty())
        return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    double m = *middle;
    if (values.size() % 2 == 0)
        m = (m + *std::max_element(values.begin(), middle)) / 2;
    return m;
}

// The value below which the given share (0 to 1) of values lies; the vector is reordered.
inline double percentile(std::vector<double>& values, double share) {
    if (values.empty())
        return 0;
    const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(values.size())));
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(std::clamp<std::size_t>(rank, 1, values.size()) - 1);
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// Frame times (seconds) against a budget (microseconds), as counters: the median, the 99th
// percentile and the worst frame, and the median of the host's calls alone (the anchor, timed
// beside each frame) with the module's own work as the rest of the median frame; each also as a
// ratio to the budget ("<name>_budget").
inline void countFrames(benchmark::State& state, std::vector<double> frames, std::vector<double> hostCalls,
                        double budgetMicroseconds) {
    const double medianFrame = median(frames) * 1e6;
    const double host = median(hostCalls) * 1e6;
    const std::pair<const char*, double> figures[] = {
        {"median", medianFrame},
        {"p99", percentile(frames, 0.99) * 1e6},
        {"worst", frames.empty() ? 0 : *std::max_element(frames.begin(), frames.end()) * 1e6},
        {"host", host},
        {"own", std::max(0.0, medianFrame - host)}};
    for (const auto& [name, microseconds] : figures) {
        state.counters[std::string(name) + "_us"] = microseconds;
        state.counters[std::string(name) + "_budget"] = microseconds / budgetMicroseconds;
    }
}

// The console table as usual; additionally every successful, non-aggregate run is kept by its
// function name (the name given to BENCHMARK, without arguments), so main can summarise.
class Reporter : public benchmark::ConsoleReporter {
  public:
    Reporter() : ConsoleReporter(options()) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                failed_ = true;
                continue;
            }
            if (run.run_type == Run::RT_Iteration)
                runs_[run.run_name.function_name].push_back(run);
        }
    }

    bool ran(const std::string& name) const { return runs_.count(name) != 0; }
    // Whether any benchmark reported an error (SkipWithError).
    bool failed() const { return failed_; }

    // The median over the repetitions of one counter of a benchmark; 0 if it did not run.
    double counter(const std::string& name, const std::string& counterName) const {
        auto it = runs_.find(name);
        if (it == runs_.end())
            return 0;
        std::vector<double> values;
        for (const Run& run : it->second) {
            auto c = run.counters.find(counterName);
            if (c != run.counters.end())
                values.push_back(c->second.value);
        }
        return median(values);
    }

    // Prints "ratio <what>: <value>  (<note>)" for a benchmark that ran; the note (the aim, say) is
    // for the reader only: no ratio makes a program fail.
    void printRatio(const std::string& name, const char* what, const char* note) const {
        if (!ran(name))
            return;
        std::printf("ratio %s: %.3f  (%s)\n", what, counter(name, "ratio"), note);
    }

    // The figures of countFrames, each over the budget, with their aims: the median frame within
    // the budget, the module's own work within a third of it, the worst frame within `worstAim`
    // microseconds.
    void printFrames(const std::string& name, double budgetMicroseconds, double worstAim) const {
        const auto c = [&](const char* counterName) { return counter(name, counterName); };
        std::printf("ratio median frame/budget: %.3f  (%.1f us against %.0f us; aim 1 or less)\n",
                    c("median_budget"), c("median_us"), budgetMicroseconds);
        std::printf("ratio 99th percentile frame/budget: %.3f  (%.1f us)\n", c("p99_budget"), c("p99_us"));
        std::printf("ratio worst frame/budget: %.3f  (%.1f us; aim %.3f, %.0f us)\n", c("worst_budget"),
                    c("worst_us"), worstAim / budgetMicroseconds, worstAim);
        std::printf("ratio host calls/budget: %.3f  (%.1f us of the median frame)\n", c("host_budget"),
                    c("host_us"));
        std::printf("ratio own work/budget: %.3f  (%.1f us of the median frame; aim 0.333 or less)\n",
                    c("own_budget"), c("own_us"));
    }

  private:
    static OutputOptions options() {
        int o = OO_Tabular;
        if (isatty(STDOUT_FILENO))
            o |= OO_Color;
        return static_cast<OutputOptions>(o);
    }

    std::map<std::string, std::vector<Run>> runs_;
    bool failed_ = false;
};

// A folder of our own under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder()
        : path_(std::filesystem::temp_directory_path() / ("zephrel-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Takes the benchmark library's options off the command line; false if something else is left.
// (--help prints the options and ends the program here, before any set-up.)
inline bool initialize(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    return !benchmark::ReportUnrecognizedArguments(argc, argv);
}

// Runs the selected benchmarks with the reporter above.
inline void run(Reporter& reporter) {
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::fflush(stdout);
    std::printf("\n");
}

} // namespace zbench
