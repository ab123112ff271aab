#pragma once

// What the fuzz targets do with a recording that opened: everything a reader of the file can ask,
// with a few consistency checks between the answers. A ZephrelException is an accepted outcome of
// any call; an inconsistency is reported and aborts, so the fuzzer keeps the input.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/DataBuffer.h"
#include "common/ZephrelException.h"
#include "common/ZflFile.h"

namespace zfuzz {

[[noreturn]] inline void inconsistent(const char* what) {
    std::fprintf(stderr, "inconsistent reading: %s\n", what);
    std::abort();
}

inline void writeFile(const std::string& path, const uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

// Whether a call that breaks a call-order rule is refused as it must be.
template <typename F> bool refused(F&& f) {
    try {
        f();
    } catch (const ZephrelException& e) {
        return e.code == ErrorCode::Unexpected;
    }
    return false;
}

// Read buffers never take more than this, whatever record size a header states; a record larger
// than this is not read (its track's time stamps still are).
constexpr std::size_t kMaxWindowBytes = std::size_t{1} << 20;
constexpr uint32_t kWindowRecords = 250;

// Decodes the records of a window, checks that a stored copy decodes the same and that the time
// stamp getter agrees with the full record. Only the window's kind of record is touched: the
// other kind's record size may be anything a header says.
inline void decodeContWindow(const DataFormat& format, std::vector<unsigned char>& records, uint32_t count) {
    const DataBuffer buffer(records.data(), nullptr, format);
    std::vector<unsigned char> stored(buffer.format().contRecordSize);
    DataBuffer copy(stored.data(), nullptr, format);
    for (uint32_t i = 0; i < count; ++i) {
        ContData a{};
        ContData b{};
        buffer.getContData(i, a);
        copy.setContData(0, a);
        copy.getContData(0, b);
        if (std::memcmp(&a, &b, sizeof a) != 0)
            inconsistent("continuous record changes when stored again");
        if (buffer.getContTimestamp(i) != a.timestamp)
            inconsistent("getContTimestamp differs from getContData");
    }
}

inline void decodeDiscWindow(const DataFormat& format, std::vector<unsigned char>& records, uint32_t count) {
    const DataBuffer buffer(nullptr, records.data(), format);
    std::vector<unsigned char> stored(buffer.format().discRecordSize);
    DataBuffer copy(nullptr, stored.data(), format);
    for (uint32_t i = 0; i < count; ++i) {
        DiscData a{};
        DiscData b{};
        buffer.getDiscData(i, a);
        copy.setDiscData(0, a);
        copy.getDiscData(0, b);
        if (std::memcmp(&a, &b, sizeof a) != 0)
            inconsistent("discrete record changes when stored again");
        if (buffer.getDiscTimestamp(i) != a.timestamp)
            inconsistent("getDiscTimestamp differs from getDiscData");
    }
}

inline uint32_t firstTimestamp(const std::vector<unsigned char>& records) {
    uint32_t t;
    std::memcpy(&t, records.data(), sizeof t);
    return t;
}

inline uint32_t windowFor(uint32_t recordSize) {
    if (recordSize == 0 || recordSize > kMaxWindowBytes)
        return 0;
    return std::min<uint32_t>(kWindowRecords, static_cast<uint32_t>(kMaxWindowBytes / recordSize));
}

inline void readTrack(ZflFile& file, uint32_t track) {
    const TrackInfo info = file.getTrackInfo(track);
    const DataFormat& format = info.format;
    uint32_t contStart = 0, contEnd = 0, discStart = 0, discEnd = 0;
    file.getTimeRanges(track, contStart, contEnd, discStart, discEnd);
    if (info.nCont > 0 && (file.getStartTime(track) != contStart || file.getEndTime(track) != contEnd))
        inconsistent("getStartTime/getEndTime differ from getTimeRanges");

    const uint32_t contWindow = std::min(windowFor(format.contRecordSize), info.nCont);
    const uint32_t discWindow = std::min(windowFor(format.discRecordSize), info.nDisc);
    std::vector<unsigned char> cont(std::size_t{contWindow} * format.contRecordSize);
    std::vector<unsigned char> disc(std::size_t{discWindow} * format.discRecordSize);
    uint32_t last = 0;
    for (uint32_t first = 0; contWindow > 0 && first < info.nCont;) {
        const uint32_t got = file.readContData(track, first, contWindow, cont.data());
        if (got == 0 || got > contWindow || got > info.nCont - first)
            inconsistent("readContData returned a wrong count");
        if (first == 0 && firstTimestamp(cont) != contStart)
            inconsistent("first continuous record differs from getStartTime");
        decodeContWindow(format, cont, got);
        first += got;
        std::memcpy(&last, cont.data() + std::size_t{got - 1} * format.contRecordSize, sizeof last);
    }
    if (contWindow > 0 && info.nCont > 0 && last != contEnd)
        inconsistent("last continuous record differs from getEndTime");
    for (uint32_t first = 0; discWindow > 0 && first < info.nDisc;) {
        const uint32_t got = file.readDiscData(track, first, discWindow, disc.data());
        if (got == 0 || got > discWindow || got > info.nDisc - first)
            inconsistent("readDiscData returned a wrong count");
        if (first == 0 && firstTimestamp(disc) != discStart)
            inconsistent("first discrete record differs from getTimeRanges");
        decodeDiscWindow(format, disc, got);
        first += got;
    }
    // Reading from the end on gives nothing (and touches nothing) rather than failing.
    unsigned char untouched[1] = {0};
    if (file.readContData(track, info.nCont, 1, untouched) != 0 ||
        file.readDiscData(track, info.nDisc, kWindowRecords, untouched) != 0 ||
        file.readContData(track, 0, 0, untouched) != 0)
        inconsistent("reading from the end on returned records");
}

// Reads every track and every marker of an open recording, then closes it.
inline void readEverything(ZflFile& file) {
    const uint32_t nTracks = file.getNTracks();
    for (uint32_t t = 0; t < nTracks; ++t)
        readTrack(file, t);
    if (!refused([&] { (void)file.getTrackInfo(nTracks); }))
        inconsistent("getTrackInfo accepted a track index out of range");

    const uint32_t nMarkers = file.getNMarkers();
    try {
        for (uint32_t i = 0; i < nMarkers; ++i) {
            const Marker marker = file.readMarker(i);
            if (marker.text.size() > 255 || marker.include != 0)
                inconsistent("marker text longer than 255 or include set");
        }
    } catch (const ZephrelException&) {
        // A damaged marker ends the markers; what was read before it stands.
    }
    if (!refused([&] { (void)file.readMarker(nMarkers); }))
        inconsistent("readMarker accepted a marker index out of range");
    file.close();
}

// Opens path for reading and reads it all; a ZephrelException closes the file and is passed on.
inline void openAndReadEverything(const std::string& path) {
    ZflFile file;
    try {
        file.open(path, ZflFile::Read);
        readEverything(file);
    } catch (const ZephrelException&) {
        file.close();
        throw;
    }
}

} // namespace zfuzz
