#pragma once

#include <cstdint>

#include "common/DataBuffer.h"
#include "common/FlightData.h"
#include "common/ZflFile.h"
#include "playback/TrackWindow.h"

// The records of one played track around the playback time: a window of continuous and one of
// discrete records, read from the open recording as the time moves. It yields the aircraft state
// for any time: continuous data interpolated between the two enclosing samples, discrete data as
// they were last stored.
class PlayBuffer {
public:
    // Reads the first window of each kind. The file stays open, and is not owned, for the buffer's
    // whole life.
    PlayBuffer(uint32_t contCapacity, uint32_t discCapacity, uint32_t track, ZflFile& file);
    PlayBuffer(const PlayBuffer&) = delete;
    PlayBuffer& operator=(const PlayBuffer&) = delete;

    // The state at time t (1/10000 s). Fields of groups the track does not carry are left as the
    // caller had them.
    void interpData(uint32_t t, ContData& cont, DiscData& disc);
    // Reads the next window of a kind ahead of time where playback is past the middle of the
    // current one; the number of windows read (0 to 2).
    uint32_t readAhead();

    // Records per window.
    uint32_t contWindow() const { return cont_.size(); }
    uint32_t discWindow() const { return disc_.size(); }
    // Index in the track of the first record each window holds.
    uint32_t contStart() const { return cont_.start(); }
    uint32_t discStart() const { return disc_.start(); }
    // Windows read from the file so far, the first ones and those read ahead included.
    uint32_t contWindowReads() const { return cont_.reads(); }
    uint32_t discWindowReads() const { return disc_.reads(); }
    // Single time stamps read to find the windows of jumps.
    uint32_t timestampReads() const { return cont_.probes() + disc_.probes(); }

private:
    TrackInfo info_;
    TrackWindow cont_;
    TrackWindow disc_;
    DataBuffer data_;
};
