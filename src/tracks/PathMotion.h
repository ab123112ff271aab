#pragma once

#include <cstddef>
#include <deque>

#include "tracks/TrackPoint.h"

// How an aircraft moved through a point of its path, for the formats that give only the path.
struct Motion {
    double heading = 0;       // degrees true, 0..360: the ground track
    double pitch = 0;         // degrees, nose up positive: the climb angle
    double bank = 0;          // degrees, right wing down positive: the bank of a coordinated turn
    double groundSpeed = 0;   // metres per second
    double verticalSpeed = 0; // metres per second, up positive
};

// Works out the motion through each point of a path from its neighbours, the same way for every
// format: speeds and the track from the points before and after (the first and the last from their
// one neighbour), the climb angle from the two speeds, the bank from the turn rate at that speed.
// Pitch and bank then pass a first-order filter (2 s), as a logger's noise would otherwise shake
// the aircraft; below walking pace the track stays as it was and the attitude is level.
// Points go in one at a time and come out one behind, so a path of any length streams.
class PathMotion {
public:
    void add(const TrackPoint& point);
    // The oldest point whose motion is known; after finish() the last ones too.
    bool take(TrackPoint& point, Motion& motion);
    void finish();

private:
    Motion motionAt(std::size_t index);
    Motion filtered(const Motion& raw, double seconds);

    std::deque<TrackPoint> window_; // the point before the next one out, that one and the one after
    std::size_t next_ = 0;          // the next point out, in window_
    bool finished_ = false;
    bool started_ = false;
    Motion last_;
    double lastTime_ = 0;
    // The last leg worked out, between the points at these times.
    struct Leg {
        double from = -1, to = -1, metres = 0, bearing = 0;
    } lastLeg_;
};
