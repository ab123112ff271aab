#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Ticks.h"

// What to play: tracks chosen from one or more recording files, as the play dialogs fill it.

struct PlayTrack {
    uint32_t index = 0;      // track index in the file
    std::string title;       // empty: the track's own title (at most 255 characters)
    std::string tailNumber;  // empty: the track's own tail number (at most 11 characters)
    Ticks timeOffset = 0;    // added to the file's offset
    // Metres: x to the right, y up, z forward once rotated with the aircraft.
    float offsetX = 0, offsetY = 0, offsetZ = 0;
    // Which of the aircraft's angles turn the offset with it.
    uint8_t rotatePitch = 0, rotateBank = 0, rotateHeading = 0;
    // Outside its time span the aircraft stays at its first or last state instead of being removed.
    uint8_t hold = 0;
    // The data groups applied to the aircraft; the others are left to the simulator.
    uint32_t contFlags = 0xFFFFFFFFu;
    uint32_t discFlags = 0xFFFFFFFFu;
};

struct PlayFile {
    std::string fileName;
    Ticks timeOffset = 0; // added to every time stamp of the file
    std::vector<PlayTrack> tracks;
    std::vector<uint32_t> markers; // indices of the file's markers to play
};

struct PlayList {
    std::vector<PlayFile> files;
    // The track that drives the user aircraft: an index into `files` and one into that file's
    // `tracks`; -1 when every track plays as traffic.
    int32_t userFile = -1;
    int32_t userTrack = -1;

    // Whether a track is to drive the user aircraft: either index is not -1. (Indices that lie
    // outside the list are refused when playback starts.)
    bool namesUserTrack() const { return userFile != -1 || userTrack != -1; }
    bool selectsAnyTrack() const {
        return std::any_of(files.begin(), files.end(), [](const PlayFile& f) { return !f.tracks.empty(); });
    }
};
