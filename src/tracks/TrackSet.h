#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "tracks/TrackPoint.h"

// The parts of a point a writer reads, to be or-ed; a cursor may leave the others out of the
// points it gives (KML reads a track's times, places and angles in three passes).
namespace PointPart {
constexpr unsigned Time = 1;
constexpr unsigned Place = 2;     // latitude, longitude, altitude
constexpr unsigned Attitude = 4;  // heading, pitch, bank
constexpr unsigned All = Time | Place | Attitude;
} // namespace PointPart

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
    // The points with at least `parts` (PointPart) in them.
    virtual std::unique_ptr<PointCursor> points(std::size_t track, unsigned parts) const = 0;
};
