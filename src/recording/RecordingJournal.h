#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "common/Marker.h"

// When a recording began, in the simulator's local time.
struct RecordingDate {
    uint16_t year = 0;
    uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;

    // "2011-08-15 14:05".
    std::string text() const;
    bool operator==(const RecordingDate&) const = default;
};

// The journal of a recording in progress, "<base>.tmp0" beside its temporary files: while it is
// on disk the recording has not ended, so after a crash the files are known for what they are
// and can still be saved. It holds when the recording began and every marker set during it,
// each on the disk as soon as it is set. Layout: docs/formats/tempfile.md.
class RecordingJournal {
public:
    // Begins the journal of the recording under `baseName`. TempFileNotOpened when it cannot.
    RecordingJournal(const std::string& baseName, const RecordingDate& began);
    // Closes it; it stays on disk until the recording is ended.
    ~RecordingJournal();
    RecordingJournal(const RecordingJournal&) = delete;
    RecordingJournal& operator=(const RecordingJournal&) = delete;

    // False when the disk would not take it (the marker is still in the recorder's memory).
    bool addMarker(const Marker& marker);
    // The recording was saved or given up: the journal goes.
    void end();

    struct Contents {
        std::optional<RecordingDate> began; // none: the journal's start is damaged
        std::vector<Marker> markers;        // a marker cut short by a crash is left out
    };
    // What the journal of `baseName` holds; none when there is no journal.
    static std::optional<Contents> read(const std::string& baseName);
    static std::string path(const std::string& baseName) { return baseName + ".tmp0"; }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
};
