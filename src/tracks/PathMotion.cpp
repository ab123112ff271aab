#include "tracks/PathMotion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tracks/ArcTangent.h"

namespace {

constexpr double kEarthRadius = 6371008.8; // metres, the mean radius
constexpr double kGravity = 9.80665;       // metres per second squared
constexpr double kStill = 1.0;             // metres per second: slower is standing
constexpr double kFilterSeconds = 2.0;
constexpr double kSteepest = 45;     // degrees of pitch
constexpr double kSteepestBank = 80; // degrees
constexpr double kFlatLeg = 5000;    // metres
constexpr double kNearPole = 85;     // degrees of latitude

// By a constant factor each: a multiplication, where dividing would cost as much as the rest.
double radians(double degrees) {
    return degrees * (std::numbers::pi / 180);
}
double degrees(double radians) {
    return radians * (180 / std::numbers::pi);
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

} // namespace

PathMotion::Leg PathMotion::legBetween(const TrackPoint& a, const TrackPoint& b) {
    double east = b.longitude - a.longitude;
    if (east > 180)
        east -= 360;
    else if (east < -180)
        east += 360;
    const double middle = (a.latitude + b.latitude) / 2;
    Leg leg;
    leg.north = radians(b.latitude - a.latitude) * kEarthRadius;
    leg.east = radians(east) * kEarthRadius * cosLatitude(middle);
    leg.metres = std::sqrt(leg.east * leg.east + leg.north * leg.north);
    // On the plane the leg is within a millimetre of the great circle over a few kilometres, at
    // a fraction of its cost.
    if (leg.metres > kFlatLeg || std::abs(middle) > kNearPole) {
        double bearing = 0;
        greatCircle(a, b, leg.metres, bearing);
        leg.east = leg.metres * std::sin(radians(bearing));
        leg.north = leg.metres * std::cos(radians(bearing));
        leg.flat = false;
    }
    return leg;
}

double PathMotion::cosLatitude(double degrees) {
    const double angle = radians(degrees);
    const double step = angle - cosineAt_;
    // A path's latitudes change little from leg to leg: within a thousandth of a radian (6 km),
    // cos(a + step) is turned from cos a and sin a with the series of the step, which are exact
    // to the last bit there.
    if (std::abs(step) > 1e-3) {
        cosineAt_ = angle;
        cosine_ = std::cos(angle);
        sine_ = std::sin(angle);
        return cosine_;
    }
    // Multiplied by the series' reciprocals rather than divided: the terms are below 10^-6, where
    // a reciprocal's last bit changes nothing.
    const double squared = step * step;
    return cosine_ * (1 - squared * 0.5 * (1 - squared * (1.0 / 12))) -
           sine_ * step * (1 - squared * (1.0 / 6) * (1 - squared * (1.0 / 20)));
}

PathMotion::PathMotion() {
    points_.reserve(kBatch + 1);
    legs_.reserve(kBatch + 1);
    raw_.reserve(kBatch + 1);
    angles_.reserve(kBatch + 1);
    out_.reserve(kBatch + 1);
}

void PathMotion::add(const TrackPoint& point) {
    points_.push_back(point);
    if (points_.size() > kBatch)
        work();
}

void PathMotion::finish() {
    finished_ = true;
    work();
}

void PathMotion::dropTaken() {
    if (out_.empty())
        return;
    const auto gone = static_cast<std::ptrdiff_t>(next_ - 1);
    points_.erase(points_.begin(), points_.begin() + gone);
    legs_.erase(legs_.begin(), legs_.begin() + gone);
    next_ = 1;
    out_.clear();
}

void PathMotion::work() {
    // Every point with the one after it known, and at the path's end the last one too. The motion
    // of each is worked out on its own, all of them one after the other, before the filter runs
    // through them in order: the processor overlaps the points' arithmetic that way.
    if (points_.empty())
        return;
    const std::size_t end = finished_ ? points_.size() : points_.size() - 1;
    if (end <= next_)
        return;
    if (legs_.empty())
        legs_.emplace_back(); // none into the path's first point
    for (std::size_t i = legs_.size(); i < points_.size(); ++i)
        legs_.push_back(legBetween(points_[i - 1], points_[i]));
    // The speeds of every point first, then each angle for all of them in turn: one point's
    // angles wait on each other (an arc tangent takes dozens of cycles), different points' do not.
    raw_.clear();
    angles_.clear();
    for (std::size_t i = next_; i < end; ++i)
        speedsAt(i, raw_.emplace_back(), angles_.emplace_back());
    for (std::size_t k = 0; k < raw_.size(); ++k) {
        if (!angles_[k].moving)
            continue;
        Motion& motion = raw_[k];
        motion.heading = degrees(arcTangent2(angles_[k].east, angles_[k].north));
        if (motion.heading < 0)
            motion.heading += 360;
        motion.pitch =
            std::clamp(degrees(arcTangent2(motion.verticalSpeed, motion.groundSpeed)), -kSteepest, kSteepest);
    }
    for (std::size_t k = 0; k < raw_.size(); ++k)
        if (angles_[k].turning)
            angles_[k].turn = arcTangent2(angles_[k].cross, angles_[k].dot);
    for (std::size_t k = 0; k < raw_.size(); ++k) {
        if (!angles_[k].turning)
            continue;
        Motion& motion = raw_[k];
        const double turnRate = angles_[k].turn * 2 * angles_[k].perSecond;
        motion.bank = std::clamp(degrees(arcTangent2(motion.groundSpeed * turnRate, kGravity)), -kSteepestBank,
                                 kSteepestBank);
    }
    if (out_.empty())
        outFrom_ = next_;
    for (std::size_t i = next_; i < end; ++i)
        out_.push_back(filtered(raw_[i - next_], points_[i].time));
    next_ = end;
}

void PathMotion::speedsAt(std::size_t index, Motion& motion, Angles& angles) {
    const TrackPoint& here = points_[index];
    const bool hasBefore = index > 0, hasAfter = index + 1 < points_.size();
    const TrackPoint& before = hasBefore ? points_[index - 1] : here;
    const TrackPoint& after = hasAfter ? points_[index + 1] : here;
    const Leg& in = legs_[index];
    const Leg& out = legs_[hasAfter ? index + 1 : index];
    const double seconds = after.time - before.time;
    if (seconds <= 0)
        return;
    // From the point before to the one after: the two legs end to end, where both are flat.
    Leg chord;
    if (hasBefore && hasAfter) {
        if (in.flat && out.flat) {
            chord.east = in.east + out.east;
            chord.north = in.north + out.north;
            chord.metres = std::sqrt(chord.east * chord.east + chord.north * chord.north);
        } else {
            chord = legBetween(before, after);
        }
    } else {
        chord = hasBefore ? in : out;
    }
    const double perSecond = 1 / seconds;
    motion.groundSpeed = chord.metres * perSecond;
    motion.eastSpeed = chord.east * perSecond;
    motion.northSpeed = chord.north * perSecond;
    motion.verticalSpeed = (after.altitude - before.altitude) * perSecond;
    if (motion.groundSpeed < kStill)
        return;
    angles.moving = true;
    angles.east = chord.east;
    angles.north = chord.north;
    // The turn: from the leg into this point to the leg out of it, over the time between their
    // middles. Legs walked rather than flown have no track worth turning from.
    if (hasBefore && hasAfter && in.metres >= kStill * (here.time - before.time) &&
        out.metres >= kStill * (after.time - here.time)) {
        angles.turning = true;
        angles.cross = in.north * out.east - in.east * out.north;
        angles.dot = in.north * out.north + in.east * out.east;
        angles.perSecond = perSecond;
    }
}

Motion PathMotion::filtered(const Motion& raw, double time) {
    Motion motion = raw;
    // Standing keeps the track it had and is level at once.
    if (raw.groundSpeed < kStill) {
        motion.heading = last_.heading;
    } else if (started_) {
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
