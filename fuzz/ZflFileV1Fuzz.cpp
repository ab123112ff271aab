// Fuzzes the conversion of first-generation recordings: the input is written as <folder>/in.zfl;
// if ZflFile::checkOldVersion recognises it, ZflFile::convertV1File rewrites it in the current
// format, and the result is opened and read completely. A ZephrelException from the check or the
// conversion is the expected answer to a damaged file. A successful conversion must leave the
// input unchanged as in.v1.zfl and a current-format file that reads without any failure.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "common/Log.h"
#include "fuzz/ReadRecording.h"

namespace {

std::filesystem::path folder;
std::string inputPath;
std::string backupPath;

void removeFiles() {
    std::remove(inputPath.c_str());
    std::remove(backupPath.c_str());
}

void removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

bool sameContents(const std::string& path, const uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    std::vector<uint8_t> contents(size + 1);
    const std::size_t got = std::fread(contents.data(), 1, contents.size(), f);
    std::fclose(f);
    return got == size && (size == 0 || std::memcmp(contents.data(), data, size) == 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Log::setLogFlags(0);
    folder = std::filesystem::temp_directory_path() / ("zephrel-fuzz-v1-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    inputPath = (folder / "in.zfl").string();
    backupPath = (folder / "in.v1.zfl").string();
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    removeFiles();
    zfuzz::writeFile(inputPath, data, size);
    bool converted = false;
    try {
        if (ZflFile::checkOldVersion(inputPath)) {
            ZflFile::convertV1File(inputPath);
            converted = true;
        }
    } catch (const ZephrelException&) {
        // Not an old recording, or a damaged one.
    }
    if (converted) {
        if (!sameContents(backupPath, data, size))
            zfuzz::inconsistent("the backup is not the old file");
        try {
            zfuzz::openAndReadEverything(inputPath);
        } catch (const ZephrelException& e) {
            std::fprintf(stderr, "%s\n", e.logText.c_str());
            zfuzz::inconsistent("a converted file does not read back");
        }
    }
    removeFiles();
    return 0;
}
