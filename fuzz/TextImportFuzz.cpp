// Fuzzes the converter's text import: the input is a text file, imported into a recording once
// with altitudes in feet and once in metres. A ConversionError (a bad line) or a ZephrelException
// (from the recording file) is the expected answer to a bad text, and must leave neither the
// output nor its "<output>.part" behind. A recording that was written must read back completely
// with ZflFile and keep what the import guarantees: tracks with data, times that never go back,
// only the groups and marker types a text can name. Anything else that escapes, a sanitizer
// report or a broken guarantee is a crash.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "common/DataBuffer.h"
#include "common/ZephrelException.h"
#include "common/ZflFile.h"
#include "converter/ConversionError.h"
#include "converter/TextImport.h"

namespace {

namespace fs = std::filesystem;

// The groups the import's column titles can set.
constexpr uint32_t kTextContGroups = 0x0FFF;
constexpr uint32_t kTextDiscGroups = 0x07FF;

fs::path folder;
std::string inputPath;
std::string outputPath;

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "text import broke a guarantee: %s\n", what);
    std::abort();
}

void removeFolder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

void writeInput(const uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(inputPath.c_str(), "wb");
    if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror(inputPath.c_str());
        std::abort();
    }
}

// Reads every record of a track, decoded, and checks that its times never go back.
void readTrack(ZflFile& file, uint32_t track) {
    const TrackInfo info = file.getTrackInfo(track);
    const DataFormat format = info.format;
    if (info.title[0] == '\0')
        broken("a track without an aircraft title");
    if ((format.ContFlags & ~kTextContGroups) != 0 || (format.DiscFlags & ~kTextDiscGroups) != 0 ||
        format.nEngines > kMaxEngines)
        broken("groups or engines no column sets");
    if (info.nCont == 0 || info.nDisc == 0 || info.nDisc > info.nCont)
        broken("a track without data lines, or more discrete records than lines");

    std::vector<unsigned char> cont(format.contRecordSize), disc(format.discRecordSize);
    DataBuffer buffer(cont.data(), disc.data(), format);
    // Each kind of record must read back, in time order.
    auto checkTimes = [&](uint32_t count, auto read, auto timestamp, const char* what) {
        uint32_t previous = 0;
        for (uint32_t i = 0; i < count; ++i) {
            if (read(i) != 1)
                broken(what);
            const uint32_t time = timestamp();
            if (time < previous)
                broken(what);
            previous = time;
        }
    };
    checkTimes(
        info.nCont, [&](uint32_t i) { return file.readContData(track, i, 1, cont.data()); },
        [&] { return buffer.getContTimestamp(0); }, "continuous records that cannot be read or go back in time");
    checkTimes(
        info.nDisc, [&](uint32_t i) { return file.readDiscData(track, i, 1, disc.data()); },
        [&] { return buffer.getDiscTimestamp(0); }, "discrete records that cannot be read or go back in time");
}

void readBack(const std::string& path) {
    ZflFile file;
    try {
        file.open(path, ZflFile::Read);
        for (uint32_t t = 0; t < file.getNTracks(); ++t)
            readTrack(file, t);
        for (uint32_t i = 0; i < file.getNMarkers(); ++i) {
            const Marker marker = file.readMarker(i);
            if (marker.type > Marker::Pause || (marker.type == Marker::None && (marker.flags & Marker::kChapter) == 0))
                broken("a marker of a kind no marker line makes");
            if (marker.text.size() > 255)
                broken("a marker text longer than 255 characters");
        }
        file.close();
    } catch (const ZephrelException& e) {
        std::fprintf(stderr, "%s\n", e.logText.c_str());
        broken("the recording written does not read back");
    }
}

void importOnce(bool altitudeInMeters) {
    bool imported = false;
    try {
        importText(inputPath, outputPath, altitudeInMeters);
        imported = true;
    } catch (const ConversionError&) {
        // A line the import refuses, with its message.
    } catch (const ZephrelException&) {
        // The recording file refused what the text asked for.
    }
    std::error_code error;
    const bool staged = fs::exists(outputPath + ".part", error);
    if (!imported && (fs::exists(outputPath, error) || staged))
        broken("a failed import left a file behind");
    if (imported) {
        if (staged)
            broken("a finished import left its .part file");
        readBack(outputPath);
        fs::remove(outputPath, error);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = fs::temp_directory_path() / ("zephrel-fuzz-import-" + std::to_string(getpid()));
    fs::create_directories(folder);
    inputPath = (folder / "flight.txt").string();
    outputPath = (folder / "flight.zfl").string();
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    writeInput(data, size);
    importOnce(false);
    importOnce(true);
    return 0;
}
