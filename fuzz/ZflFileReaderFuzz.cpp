// Fuzzes the reader of recording files: the input is a file, opened with ZflFile in read mode and
// read completely (every track's records in windows, decoded through DataBuffer, the time ranges,
// every marker). A ZephrelException is the expected answer to a damaged file; anything else that
// escapes, a sanitizer report or a failed consistency check is a crash.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/Log.h"
#include "fuzz/ReadRecording.h"

namespace {

std::string inputPath;

void removeInput() {
    std::remove(inputPath.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Failures are the normal case here; they must not fill a log file.
    Log::setLogFlags(0);
    inputPath = (std::filesystem::temp_directory_path() /
                 ("zephrel-fuzz-reader-" + std::to_string(getpid()) + ".zfl"))
                    .string();
    std::atexit(removeInput);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    zfuzz::writeFile(inputPath, data, size);
    try {
        zfuzz::openAndReadEverything(inputPath);
    } catch (const ZephrelException&) {
        // A damaged or unsupported file, reported the way the program reports it.
    }
    removeInput();
    return 0;
}
