// Fuzzes the recovery of a recording that did not end: the input is the three files a crash may
// leave, "<u16 journal bytes><u16 directory bytes><journal><directory><data>" (the lengths cut to
// what the input holds), summarized and saved as a recording. A ZephrelException is the expected
// answer to files that cannot be read; then the files are kept and no recording is written.
// A recording that was saved must read back whole, and the files must be gone.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/Log.h"
#include "fuzz/ReadRecording.h"
#include "recording/InterruptedRecording.h"

namespace fs = std::filesystem;

namespace {

std::string base, output;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "inconsistent recovery: %s\n", what);
        std::abort();
    }
}

void removeFiles() {
    for (const char* extension : {".tmp0", ".tmp1", ".tmp2"})
        std::remove((base + extension).c_str());
    std::remove(output.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Failures are the normal case here; they must not fill a log file.
    Log::setLogFlags(0);
    const fs::path folder = fs::temp_directory_path() / ("zephrel-fuzz-recovery-" + std::to_string(getpid()));
    fs::create_directories(folder);
    base = (folder / "ZephrelInterrupted-1").string();
    output = (folder / "recovered.zfl").string();
    std::atexit([] {
        removeFiles();
        std::error_code ignored;
        fs::remove(fs::path(base).parent_path(), ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    uint16_t lengths[2];
    std::memcpy(lengths, data, sizeof lengths);
    std::size_t at = sizeof lengths;
    const std::size_t journal = std::min<std::size_t>(lengths[0], size - at);
    zfuzz::writeFile(base + ".tmp0", data + at, journal);
    at += journal;
    const std::size_t directory = std::min<std::size_t>(lengths[1], size - at);
    zfuzz::writeFile(base + ".tmp1", data + at, directory);
    at += directory;
    zfuzz::writeFile(base + ".tmp2", data + at, size - at);

    bool saved = false;
    try {
        (void)InterruptedRecording::summarize(base).question();
        InterruptedRecording::save(base, output);
        saved = true;
    } catch (const ZephrelException&) {
        require(fs::exists(base + ".tmp1") && fs::exists(base + ".tmp2"), "a failed save let the files go");
        require(!fs::exists(output) && !fs::exists(output + ".part"), "a failed save left a file behind");
    }
    if (saved) {
        require(!fs::exists(base + ".tmp0") && !fs::exists(base + ".tmp2"), "a saved recording kept its files");
        try {
            zfuzz::openAndReadEverything(output);
        } catch (const ZephrelException& e) {
            std::fprintf(stderr, "%s\n", e.logText.c_str());
            require(false, "the saved recording does not read back");
        }
    }
    removeFiles();
    return 0;
}
