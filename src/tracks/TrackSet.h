#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "tracks/TrackPoint.h"

// One track's points in time order, from its start.
class PointCursor {
public:
    virtual ~PointCursor() = default;
    // The next point; false at the track's end.
    virtual bool next(TrackPoint& point) = 0;
};

// Tracks to write into a format of other tools. Each track can be read from its start as often as
// a format needs (KML lists a track's times before its places), and several at once (ACMI merges
// them in time), so that none of them is ever held in memory whole.
class TrackSet {
public:
    virtual ~TrackSet() = default;
    virtual std::size_t count() const = 0;
    // The aircraft's title and tail number (empty where there is none).
    virtual std::string title(std::size_t track) const = 0;
    virtual std::string tailNumber(std::size_t track) const = 0;
    virtual std::unique_ptr<PointCursor> points(std::size_t track) const = 0;
};
