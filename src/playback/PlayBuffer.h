#pragma once

#include <cstdint>
#include <memory>

#include "common/DataBuffer.h"
#include "common/FlightData.h"
#include "common/ZflFile.h"

// The records of one played track around the playback time: a window of continuous and one of
// discrete records, read from the open recording as the time moves. It yields the aircraft state
// for any time: continuous data interpolated between the two enclosing samples, discrete data as
// they were last stored.
class PlayBuffer {
public:
    // Reads the first window of each kind. The file stays open, and is not owned, for the buffer's
    // whole life.
    PlayBuffer(uint32_t contCapacity, uint32_t discCapacity, uint32_t track, ZflFile& file);
    ~PlayBuffer() = default;
    PlayBuffer(const PlayBuffer&) = delete;
    PlayBuffer& operator=(const PlayBuffer&) = delete;

    // The state at time t (1/10000 s). Fields of groups the track does not carry are left as the
    // caller had them.
    void interpData(uint32_t t, ContData& cont, DiscData& disc);

    // Records per window.
    uint32_t contWindow() const { return contWindow_; }
    uint32_t discWindow() const { return discWindow_; }
    // Index in the track of the first record each window holds.
    uint32_t contStart() const { return contStart_; }
    uint32_t discStart() const { return discStart_; }
    // Windows read from the file so far, the first ones included.
    uint32_t contWindowReads() const { return contWindowReads_; }
    uint32_t discWindowReads() const { return discWindowReads_; }

private:
    // The part of the buffer that moves through one kind of record, so both kinds share one search.
    struct Window;
    // Where t lies in a window: the record in force at an end of the track, or the left record of
    // the interval that holds t.
    struct Position {
        uint32_t index;
        bool between;
    };

    Window contView();
    Window discView();
    Position locate(const Window& window, uint32_t t);
    void findInterval(const Window& window, uint32_t t);
    void readWindow(const Window& window, uint32_t start);

    uint32_t track_;
    ZflFile* file_;
    TrackInfo info_;
    uint32_t contWindow_;
    uint32_t discWindow_;
    uint32_t firstContTime_ = 0;
    uint32_t lastContTime_ = 0;
    uint32_t firstDiscTime_ = 0;
    uint32_t lastDiscTime_ = 0;
    std::unique_ptr<unsigned char[]> contArea_;
    std::unique_ptr<unsigned char[]> discArea_;
    DataBuffer data_;
    uint32_t contStart_ = 0;
    uint32_t discStart_ = 0;
    uint32_t contPos_ = 0;
    uint32_t discPos_ = 0;
    uint32_t contWindowReads_ = 0;
    uint32_t discWindowReads_ = 0;
};
