#pragma once

#include <string>

#include "tracks/ImportReport.h"
#include "tracks/TrackPoint.h"

// A file of one track or more, read as it comes: a track at a time, each point of it in time order.
class TrackSource {
public:
    virtual ~TrackSource() = default;

    // Moves to the next track; false when there is none left.
    virtual bool nextTrack() = 0;
    // The current track's next point; false at its end.
    virtual bool next(TrackPoint& point) = 0;

    // What the file says of the current track's aircraft: its type and registration; empty where
    // it says nothing.
    virtual std::string aircraftType() const = 0;
    virtual std::string registration() const = 0;
    // Of the whole file, so far.
    virtual const ImportReport& report() const = 0;
};
