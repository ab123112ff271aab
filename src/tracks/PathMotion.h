#pragma once

#include <cstddef>
#include <vector>

#include "tracks/TrackPoint.h"

// How an aircraft moved through a point of its path, for the formats that give only the path.
struct Motion {
    double heading = 0;       // degrees true, 0..360: the ground track
    double pitch = 0;         // degrees, nose up positive: the climb angle
    double bank = 0;          // degrees, right wing down positive: the bank of a coordinated turn
    double groundSpeed = 0;   // metres per second
    double verticalSpeed = 0; // metres per second, up positive
    double eastSpeed = 0;     // metres per second: the ground speed's parts east and north
    double northSpeed = 0;
};

// Works out the motion through each point of a path from its neighbours, the same way for every
// format: speeds and the track from the points before and after (the first and the last from their
// one neighbour), the climb angle from the two speeds, the bank from the turn rate at that speed.
// Pitch and bank then pass a first-order filter (2 s), as a logger's noise would otherwise shake
// the aircraft; below walking pace the track stays as it was and the attitude is level.
// Points go in one at a time and come out some behind (a few hundred at most), so a path of any
// length streams.
class PathMotion {
public:
    PathMotion();
    void add(const TrackPoint& point);
    void finish();
    // Hands each point whose motion is known to `use(point, motion)`, oldest first, and lets them
    // go; after finish() the last ones too.
    template <class Use>
    void takeEach(const Use& use) {
        for (std::size_t k = 0; k < out_.size(); ++k)
            use(points_[outFrom_ + k], out_[k]);
        dropTaken();
    }

private:
    // The way from one point to the next, east and north in metres on the plane that touches the
    // globe between them; a long leg, or one near a pole, is not `flat` and is worked out along
    // the great circle. Inline where it is called, once for every point.
    struct Leg {
        double east = 0, north = 0, metres = 0;
        bool flat = true;
    };
    [[gnu::always_inline]] inline Leg legBetween(const TrackPoint& a, const TrackPoint& b);
    // The cosine of a latitude (degrees), turned from the last one worked out where it is near.
    double cosLatitude(double degrees);
    // Works out the motion of the points waiting, as far as their neighbours are known.
    void work();
    // Lets the points taken go, all but the last, as the one before the next.
    void dropTaken();
    // What a point's angles are worked out from: the chord from the point before to the one
    // after (metres), and where it turns, the legs' cross and dot products and the turn.
    struct Angles {
        double east = 0, north = 0;
        double cross = 0, dot = 0, perSecond = 0, turn = 0;
        bool moving = false, turning = false;
    };
    // The speeds through points_[index] from its neighbours, and what its angles need, into a
    // new `motion` and `angles` where they are kept (built whole elsewhere and copied, they would
    // be read back whole before the processor has them).
    void speedsAt(std::size_t index, Motion& motion, Angles& angles);
    Motion filtered(const Motion& raw, double time);

    static constexpr std::size_t kBatch = 256;
    // The points out and not yet taken, and those waiting, after the last one taken (which they
    // start with once one is), and the leg into each from the one before.
    std::vector<TrackPoint> points_;
    std::vector<Leg> legs_;
    std::size_t next_ = 0; // the first point of points_ whose motion is not worked out
    std::vector<Motion> raw_; // the motion before the filter
    std::vector<Angles> angles_;
    std::vector<Motion> out_; // the motion of the points from outFrom_ on, to be taken
    std::size_t outFrom_ = 0;
    bool finished_ = false;
    bool started_ = false;
    Motion last_;
    double lastTime_ = 0;
    double cosineAt_ = 1e9, cosine_ = 0, sine_ = 0; // radians, and its cosine and sine
};
