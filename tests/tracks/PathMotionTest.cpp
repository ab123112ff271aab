// The motion worked out from a path alone: speeds, track, climb angle and the bank of a turn.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "tracks/PathMotion.h"

namespace {

constexpr double kMetresPerDegree = 6371008.8 * std::numbers::pi / 180; // along a meridian

struct Moved {
    TrackPoint point;
    Motion motion;
};

// The path's points with their motion, taken after every `every` points put in.
std::vector<Moved> through(const std::vector<TrackPoint>& path, std::size_t every = 1) {
    PathMotion motion;
    std::vector<Moved> out;
    const auto keep = [&](const TrackPoint& point, const Motion& moving) { out.push_back({point, moving}); };
    for (std::size_t i = 0; i < path.size(); ++i) {
        motion.add(path[i]);
        if ((i + 1) % every == 0)
            motion.takeEach(keep);
    }
    motion.finish();
    motion.takeEach(keep);
    return out;
}

// A point `north` and `east` metres from 45°N 7°E (flat over these distances).
TrackPoint at(double time, double north, double east, double altitude) {
    const double latitude = 45 + north / kMetresPerDegree;
    return {time, latitude, 7 + east / (kMetresPerDegree * std::cos(latitude * std::numbers::pi / 180)),
            altitude};
}

TEST(PathMotionTest, AStraightClimbHasItsSpeedsTrackAndClimbAngle) {
    // North-east at 30 m/s over the ground, climbing 3 m/s, a point a second.
    std::vector<TrackPoint> path;
    for (int t = 0; t <= 60; ++t)
        path.push_back(at(t, 30 * t * std::cos(std::numbers::pi / 4), 30 * t * std::sin(std::numbers::pi / 4),
                          500 + 3.0 * t));
    const std::vector<Moved> moved = through(path);
    ASSERT_EQ(path.size(), moved.size());
    for (std::size_t i = 0; i < moved.size(); ++i) {
        EXPECT_EQ(path[i].time, moved[i].point.time);
        EXPECT_NEAR(30, moved[i].motion.groundSpeed, 0.05) << i;
        EXPECT_NEAR(3, moved[i].motion.verticalSpeed, 1e-6) << i;
        EXPECT_NEAR(45, moved[i].motion.heading, 0.05) << i;
        EXPECT_NEAR(std::atan(0.1) * 180 / std::numbers::pi, moved[i].motion.pitch, 0.01) << i;
        EXPECT_NEAR(0, moved[i].motion.bank, 0.05) << i;
    }
}

TEST(PathMotionTest, ASteadyTurnBanksAsACoordinatedTurnAfterTheFilterSettles) {
    // A left circle at 40 m/s, 3 degrees a second, level, a point every 2 s.
    const double speed = 40, rate = 3 * std::numbers::pi / 180, radius = speed / rate;
    std::vector<TrackPoint> path;
    for (int t = 0; t <= 120; t += 2)
        path.push_back(at(t, radius * std::sin(rate * t), -radius * (1 - std::cos(rate * t)), 800));
    const std::vector<Moved> moved = through(path);
    const double bank = -std::atan(speed * rate / 9.80665) * 180 / std::numbers::pi; // left wing down
    EXPECT_NEAR(bank, moved[40].motion.bank, 0.3);
    EXPECT_NEAR(bank, moved[55].motion.bank, 0.3);
    EXPECT_NEAR(std::fmod(360 - 3.0 * 80, 360), moved[40].motion.heading, 3.5) << "the track, turning left";
    EXPECT_NEAR(0, moved[40].motion.pitch, 1e-6);
    EXPECT_GT(moved[1].motion.bank, bank) << "the filter eases into the bank";
}

TEST(PathMotionTest, StandingStillKeepsTheTrackAndStaysLevel) {
    std::vector<TrackPoint> path;
    for (int t = 0; t < 5; ++t)
        path.push_back(at(t, 10.0 * t, 0, 100)); // north at 10 m/s
    for (int t = 5; t < 10; ++t)
        path.push_back(at(t, 40 + 0.01 * (t - 5), 0.01, 100 + 0.01 * (t % 2))); // standing, a GPS jitter
    const std::vector<Moved> moved = through(path);
    ASSERT_EQ(10u, moved.size());
    EXPECT_NEAR(0, moved[2].motion.heading, 0.01);
    for (std::size_t i = 6; i < 10; ++i) {
        EXPECT_EQ(moved[4].motion.heading, moved[i].motion.heading) << i;
        EXPECT_LT(moved[i].motion.groundSpeed, 1) << i;
        EXPECT_EQ(0, moved[i].motion.bank) << i;
        EXPECT_EQ(0, moved[i].motion.pitch) << i;
    }
    EXPECT_NEAR(0, moved[4].motion.bank, 0.01) << "no turn out of a stop";
}

TEST(PathMotionTest, OneOrTwoPointsComeOutToo) {
    EXPECT_EQ(1u, through({at(0, 0, 0, 10)}).size());
    const std::vector<Moved> two = through({at(0, 0, 0, 10), at(10, 100, 0, 20)});
    ASSERT_EQ(2u, two.size());
    EXPECT_NEAR(10, two[0].motion.groundSpeed, 0.01);
    EXPECT_NEAR(10, two[1].motion.groundSpeed, 0.01);
    EXPECT_NEAR(1, two[1].motion.verticalSpeed, 1e-9);
    EXPECT_TRUE(through({}).empty());
}

TEST(PathMotionTest, PointsTakenSeldomComeOutAsPointsTakenAtOnce) {
    std::vector<TrackPoint> path;
    for (int t = 0; t < 2000; ++t)
        path.push_back(at(t, 2000 * std::sin(t / 100.0), 2000 * std::cos(t / 100.0), 500 + t % 300));
    const std::vector<Moved> atOnce = through(path), seldom = through(path, 700);
    ASSERT_EQ(path.size(), seldom.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        EXPECT_EQ(path[i].time, seldom[i].point.time);
        EXPECT_EQ(atOnce[i].motion.heading, seldom[i].motion.heading) << i;
        EXPECT_EQ(atOnce[i].motion.bank, seldom[i].motion.bank) << i;
        EXPECT_EQ(atOnce[i].motion.groundSpeed, seldom[i].motion.groundSpeed) << i;
    }
}

} // namespace
