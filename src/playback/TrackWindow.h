#pragma once

#include <cstdint>
#include <memory>

#include "common/ZflFile.h"

// The records of one kind (continuous or discrete) of a played track, a window of them in memory.
// Playing on, the window moves W - 1 records at a time, so that consecutive windows overlap by
// one record and every interval lies whole in one of them. A jump goes straight to the window the
// stepping would end in, found from the few time stamps it needs. A second area takes the next
// window ahead of time, in a frame of the player's choosing, so that the frame in which playback
// crosses into it reads nothing.
class TrackWindow {
public:
    enum Kind { Continuous, Discrete };

    // Reads the first window. `capacity` records at most, never fewer than an interval needs.
    // The file stays open, and is not owned, for the window's whole life.
    TrackWindow(ZflFile& file, uint32_t track, Kind kind, uint32_t capacity);
    TrackWindow(const TrackWindow&) = delete;
    TrackWindow& operator=(const TrackWindow&) = delete;

    // Where t lies in the window: the record in force at an end of the track, or the left record
    // of the interval that holds t.
    struct Position {
        uint32_t index;
        bool between;
    };
    Position locate(uint32_t t);

    // Once playback is past the middle of the window, reads the next one into the second area
    // unless it is there already; whether it read.
    bool readAhead();

    // The window's records in their stored form.
    unsigned char* records() { return area_.get(); }
    uint32_t size() const { return size_; }
    // Index in the track of the window's first record.
    uint32_t start() const { return start_; }
    // Windows read from the file so far, the first one and those read ahead included.
    uint32_t reads() const { return reads_; }
    // Single time stamps read from the file to find the window of a jump.
    uint32_t probes() const { return probes_; }

private:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;

    uint32_t timestampAt(uint32_t index) const;
    // The time stamp of any record of the track: from either area where one holds it, else read
    // from the file on its own.
    uint32_t timestampOf(uint32_t index);
    void findInterval(uint32_t t);
    // Where stepping the window back, or forward, from where it is would stop for t.
    uint32_t stepsBackTo(uint32_t t);
    uint32_t stepsForwardTo(uint32_t t);
    void moveTo(uint32_t start);
    void read(unsigned char* area, uint32_t start);

    ZflFile* file_;
    uint32_t track_;
    Kind kind_;
    uint32_t recordSize_;
    uint32_t count_;
    uint32_t size_;
    uint32_t firstTime_;
    uint32_t lastTime_;
    std::unique_ptr<unsigned char[]> area_;
    std::unique_ptr<unsigned char[]> spare_;
    std::unique_ptr<unsigned char[]> probe_; // one record
    uint32_t start_ = 0;
    uint32_t pos_ = 0;
    uint32_t spareStart_ = kNone;
    uint32_t reads_ = 0;
    uint32_t probes_ = 0;
};
