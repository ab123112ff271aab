#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/ErrorCode.h"
#include "common/FlightData.h"
#include "common/MappedRange.h"
#include "common/Marker.h"
#include "common/TrackDigest.h"

class DirectFile;

// The in-memory form of a track header.
struct TrackInfo {
    char title[256];
    char tailNumber[12]; // at most 10 characters are stored
    float staticCGtoGround;
    DataFormat format;
    uint32_t nCont;
    uint32_t nDisc;
    // Reading: 1 if the track carries a valid digest. Writing: 1 to compute and store one.
    uint8_t originalRecording;
};

// Reads a recording file with random access to every track, or writes one strictly in order:
// track by track, continuous records before discrete ones, markers after all tracks.
class ZflFile {
public:
    // WriteDirect writes as Write does, past the system's cache: for a tool writing a whole
    // recording at once (see DirectFile).
    enum Mode { Read = 0, Write = 1, WriteDirect = 2 };

    ZflFile() = default;
    ~ZflFile();
    ZflFile(const ZflFile&) = delete;
    ZflFile& operator=(const ZflFile&) = delete;

    // A file being written takes its name only when it is closed whole: until then it is
    // "<path>.part" beside it, so that a failure leaves an older file of that name as it was.
    void open(const std::string& path, Mode mode);
    void close();
    // Ends writing without keeping anything of it (closes a file being read).
    void discard();
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }
    // The version read from the header (major << 16 | minor).
    uint32_t version() const { return version_; }

    uint32_t getNTracks() const;
    uint32_t getNMarkers() const;

    const TrackInfo& getTrackInfo(uint32_t track) const;
    uint32_t readContData(uint32_t track, uint32_t first, uint32_t count, void* buffer);
    uint32_t readDiscData(uint32_t track, uint32_t first, uint32_t count, void* buffer);
    // Up to `count` continuous records from `first` on as stored, seen in the file mapped into
    // `view` instead of copied out of it: for readers that go through whole tracks, as the exports
    // do (KML three times, ACMI several tracks at once, each with a view of its own). How many
    // there are comes back in `count` (none past the end); they stay valid while `view` maps them.
    const unsigned char* viewContData(uint32_t track, uint32_t first, uint32_t& count, MappedRange& view);
    Marker readMarker(uint32_t index);

    void addTrack(const TrackInfo& info);
    void writeContData(uint32_t count, const void* records);
    void writeDiscData(uint32_t count, const void* records);
    void addMarker(const Marker& marker);

    // One record at a time, as the converter hands them over.
    void writeContData(const void* record) { writeContData(1, record); }
    void writeDiscData(const void* record) { writeDiscData(1, record); }

    uint32_t getStartTime(uint32_t track);
    uint32_t getEndTime(uint32_t track);
    void getTimeRanges(uint32_t track, uint32_t& contStart, uint32_t& contEnd, uint32_t& discStart,
                       uint32_t& discEnd);

    // Whether the file is a first-generation recording that must be converted before playback.
    static bool checkOldVersion(const std::string& path);
    // Rewrites a first-generation recording in the current format, keeping the old one as
    // "<name>.v1.zfl".
    static void convertV1File(const std::string& path);

private:
    void requireOpen(const char* function) const;
    void requireReadable(const char* function, uint32_t track) const;
    void requireWritable(const char* function) const;
    std::string stagingPath() const { return path_ + ".part"; }
    [[noreturn]] void fail(ErrorCode code, const char* function, uint32_t line) const;

    void readFileHeader(uint64_t fileSize);
    void readTrackHeader(uint64_t fileSize);
    void verifyDigest(uint32_t track, uint32_t dataSize, uint64_t storedDigest);
    uint32_t readRecords(uint64_t start, uint32_t recordSize, uint32_t available, uint32_t first,
                         uint32_t count, void* buffer, const char* function);
    uint32_t readTimestamp(uint64_t offset, const char* function);
    uint64_t markerOffset(uint32_t index);

    void writeRecords(uint32_t count, const void* records, uint32_t recordSize, const char* function);
    void writeTrackHeader(uint32_t dataSize, uint64_t digest, const char* function);
    void writeFileHeader(const char* function);
    void finishTrack(const char* function);
    void closeWriting();
    void reset();

    std::string path_;
    std::FILE* file_ = nullptr;
    DirectFile* direct_ = nullptr; // what file_ writes to, where it goes past the cache
    std::vector<char> streamBuffer_;
    Mode mode_ = Read;
    uint32_t version_ = 0;
    uint32_t nTracks_ = 0;
    std::vector<TrackInfo> tracks_;    // read: all tracks; write: the current track
    std::vector<uint64_t> dataOffsets_; // read: each track's data; write: the current track's header
    uint32_t tracksSize_ = 0;
    uint32_t curDataSize_ = 0;
    bool hasCurrentTrack_ = false;
    uint32_t nMarkers_ = 0;
    uint64_t markersOffset_ = 0;
    uint32_t markersSize_ = 0;
    // Offsets of the marker records found so far, so reading them all stays linear.
    std::vector<uint64_t> markerOffsets_;
    TrackDigest digest_;
};
