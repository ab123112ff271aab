#include "tracks/PathMotion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kEarthRadius = 6371008.8; // metres, the mean radius
constexpr double kGravity = 9.80665;       // metres per second squared
constexpr double kStill = 1.0;             // metres per second: slower is standing
constexpr double kFilterSeconds = 2.0;
constexpr double kSteepest = 45;     // degrees of pitch
constexpr double kSteepestBank = 80; // degrees
constexpr double kFlatLeg = 5000;    // metres
constexpr double kNearPole = 85;     // degrees of latitude

double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}
double degrees(double radians) {
    return radians * 180 / std::numbers::pi;
}

// Metres and the initial bearing (degrees true) along the great circle from a to b.
void greatCircle(const TrackPoint& a, const TrackPoint& b, double& metres, double& bearing) {
    const double lat1 = radians(a.latitude), lat2 = radians(b.latitude);
    const double dLat = lat2 - lat1, dLon = radians(b.longitude - a.longitude);
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    metres = 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
    const double y = std::sin(dLon) * std::cos(lat2);
    const double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    bearing = std::fmod(degrees(std::atan2(y, x)) + 360, 360);
}

// The same on the plane that touches the sphere between a and b: within a millimetre of the
// great circle over legs of a few kilometres, at a fraction of its cost; longer legs, and legs
// near a pole, take the great circle.
void distanceAndBearing(const TrackPoint& a, const TrackPoint& b, double& metres, double& bearing) {
    double east = b.longitude - a.longitude;
    if (east > 180)
        east -= 360;
    else if (east < -180)
        east += 360;
    const double middle = (a.latitude + b.latitude) / 2;
    const double north = radians(b.latitude - a.latitude) * kEarthRadius;
    east = radians(east) * kEarthRadius * std::cos(radians(middle));
    metres = std::sqrt(east * east + north * north);
    if (metres > kFlatLeg || std::abs(middle) > kNearPole) {
        greatCircle(a, b, metres, bearing);
        return;
    }
    bearing = degrees(std::atan2(east, north));
    if (bearing < 0)
        bearing += 360;
}

// Degrees from one bearing to another, -180..180.
double turn(double from, double to) {
    return std::remainder(to - from, 360.0);
}

} // namespace

void PathMotion::add(const TrackPoint& point) {
    window_.push_back(point);
    // Keep the point before the next one out, that one and the one after.
    while (next_ > 1) {
        window_.pop_front();
        --next_;
    }
}

void PathMotion::finish() {
    finished_ = true;
}

bool PathMotion::take(TrackPoint& point, Motion& motion) {
    const bool hasAfter = next_ + 1 < window_.size();
    if (next_ >= window_.size() || (!hasAfter && !finished_))
        return false;
    point = window_[next_];
    motion = filtered(motionAt(next_), point.time);
    ++next_;
    return true;
}

Motion PathMotion::motionAt(std::size_t index) {
    const TrackPoint& here = window_[index];
    const TrackPoint& before = index > 0 ? window_[index - 1] : here;
    const TrackPoint& after = index + 1 < window_.size() ? window_[index + 1] : here;
    Motion motion;
    motion.heading = last_.heading;
    const double seconds = after.time - before.time;
    if (seconds <= 0)
        return motion;
    double metres = 0, bearing = 0;
    distanceAndBearing(before, after, metres, bearing);
    motion.groundSpeed = metres / seconds;
    motion.verticalSpeed = (after.altitude - before.altitude) / seconds;
    if (motion.groundSpeed < kStill)
        return motion;
    motion.heading = bearing;
    motion.pitch =
        std::clamp(degrees(std::atan2(motion.verticalSpeed, motion.groundSpeed)), -kSteepest, kSteepest);
    // The turn: from the track into this point to the track out of it, over the time between
    // the middles of the two legs.
    if (&before != &here && &after != &here) {
        double in = 0, out = 0, legIn = 0, legOut = 0;
        // The leg in is the last point's leg out.
        if (lastLeg_.from == before.time && lastLeg_.to == here.time) {
            legIn = lastLeg_.metres;
            in = lastLeg_.bearing;
        } else {
            distanceAndBearing(before, here, legIn, in);
        }
        distanceAndBearing(here, after, legOut, out);
        lastLeg_ = {here.time, after.time, legOut, out};
        // Legs walked rather than flown have no track worth turning from.
        if (legIn >= kStill * (here.time - before.time) && legOut >= kStill * (after.time - here.time)) {
            const double turnRate = radians(turn(in, out)) / (seconds / 2);
            motion.bank = std::clamp(degrees(std::atan(motion.groundSpeed * turnRate / kGravity)),
                                     -kSteepestBank, kSteepestBank);
        }
    }
    return motion;
}

Motion PathMotion::filtered(const Motion& raw, double time) {
    Motion motion = raw;
    // Standing is level at once.
    if (started_ && raw.groundSpeed >= kStill) {
        const double seconds = std::max(0.0, time - lastTime_);
        const double share = seconds / (kFilterSeconds + seconds);
        motion.pitch = last_.pitch + share * (raw.pitch - last_.pitch);
        motion.bank = last_.bank + share * (raw.bank - last_.bank);
    }
    started_ = true;
    last_ = motion;
    lastTime_ = time;
    return motion;
}
