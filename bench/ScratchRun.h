#pragma once

// The main of a benchmark program that works inside the stand-in simulator in a scratch folder of
// its own (recordings, flights, the module's log), removed however the program ends.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "bench/BenchSupport.h"
#include "bench/CountingNew.h"
#include "common/Log.h"

namespace zbench {

// The folder of this process, under the system's folder for temporary files.
inline std::string scratchFolder(const char* prefix) {
    return (std::filesystem::temp_directory_path() / (std::string(prefix) + std::to_string(getpid()))).string();
}

// Runs every benchmark with allocations counted, then `summarise` prints the figures and says
// whether each run met its aim. The exit code fails for a failed run or a missed aim.
inline int runInScratchFolder(int argc, char** argv, const char* program, const std::string& folder,
                              bool (*summarise)(const Reporter&)) {
    if (!countingNewInUse()) {
        std::fprintf(stderr, "%s: the replaced operator new is not in use; cannot count allocations\n", program);
        return 1;
    }
    if (!initialize(argc, argv))
        return 1;
    std::filesystem::create_directories(folder);
    struct Cleanup {
        const std::string& folder;
        ~Cleanup() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } cleanup{folder};
    Log::setFolder(folder);
    Reporter reporter;
    run(reporter);
    const bool ok = summarise(reporter);
    Log::closeLog();
    return reporter.failed() || !ok ? 1 : 0;
}

} // namespace zbench
