// The cameras' smoothing filters, checked against what each must do rather than against its own
// formulas: closed-form responses, the orders of input each follows without lag, the seam, holds.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "cameras/Smooth.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;
const int kKinds[] = {1, 2, 3, 4, 5};

std::unique_ptr<Smooth> filter(int kind, SmoothRole role, double timeConstant) {
    auto made = makeSmooth(kind, role);
    made->setTimeConstant(timeConstant);
    return made;
}

// The filter's output after steps of dt over the inputs that `input` gives for step n (from 1).
template <typename Input> double run(Smooth& s, double dt, int steps, Input input) {
    double out = 0;
    for (int n = 1; n <= steps; ++n) {
        double x = input(n);
        s.update(dt, &x, &out);
    }
    return out;
}

TEST(SmoothTest, KindsRolesAndNames) {
    struct Case {
        int asked;
        SmoothRole role;
        int made;
        uint32_t size;
        bool angular;
    };
    const Case cases[] = {
        {1, SmoothRole::Position, 1, 3, false},     {3, SmoothRole::Zoom, 3, 1, false},
        {4, SmoothRole::ViewAngles, 4, 3, true},    {0, SmoothRole::Position, 2, 3, false},
        {6, SmoothRole::ViewAngles, 1, 3, true},    {-1, SmoothRole::Zoom, 5, 1, false},
    };
    for (const Case& c : cases) {
        const auto s = makeSmooth(c.asked, c.role);
        EXPECT_EQ(c.made, s->kind()) << c.asked;
        EXPECT_EQ(c.size, s->size()) << c.asked;
        EXPECT_EQ(c.angular, s->angular()) << c.asked;
        EXPECT_EQ(0.0, s->timeConstant());
    }
    const char* const names[] = {"", "First Order Filter", "Second Order Filter", "Third Order Filter",
                                 "Constant Rate", "Constant Rate + Filter", ""};
    for (int kind = 0; kind <= 6; ++kind)
        EXPECT_STREQ(names[kind], smoothKindName(kind));
}

TEST(SmoothTest, NoTimeConstantPassesTheInputAndAZeroStepHolds) {
    for (const int kind : kKinds) {
        SCOPED_TRACE(kind);
        const auto s = filter(kind, SmoothRole::Position, 0);
        double in[3] = {5, -7, 9}, out[3] = {};
        for (const double dt : {0.0, 0.016, 3.0, -1.0}) {
            s->update(dt, in, out);
            EXPECT_EQ((std::vector<double>{5, -7, 9}), std::vector<double>(out, out + 3));
        }
        // Smoothing: a few steps toward the input, then a step of 0 gives the last output again
        // and changes nothing after it.
        s->setTimeConstant(1);
        for (int n = 0; n < 5; ++n)
            s->update(0.1, in, out);
        const std::vector<double> held(out, out + 3);
        double other[3] = {100, 100, 100};
        s->update(0, other, other);
        EXPECT_EQ(held, std::vector<double>(other, other + 3));
        const auto twin = s->clone();
        double a[3] = {}, b[3] = {};
        s->update(0.1, in, a);
        twin->update(0.1, in, b);
        EXPECT_EQ(std::vector<double>(a, a + 3), std::vector<double>(b, b + 3)) << "the clone carries the state";
        EXPECT_EQ(kind, twin->kind());
    }
}

TEST(SmoothTest, FirstOrderFollowsItsClosedForm) {
    const auto s = filter(1, SmoothRole::Zoom, 2);
    for (int n = 1; n <= 50; ++n) {
        double x = 1, out = 0;
        s->update(0.05, &x, &out);
        EXPECT_NEAR(1 - std::exp(-0.05 * n / 2), out, 1e-12) << n;
    }
}

// The orders of input each filter follows without lag once settled: a step for every filter, a
// ramp for the second order, a parabola for the third.
TEST(SmoothTest, HigherOrdersFollowRampsAndParabolasWithoutLag) {
    struct Case {
        int kind;
        int power;
    };
    for (const Case c : {Case{1, 0}, Case{2, 0}, Case{3, 0}, Case{5, 0}, Case{2, 1}, Case{3, 1}, Case{3, 2}}) {
        const auto s = filter(c.kind, SmoothRole::Zoom, 0.5);
        const double dt = 0.02;
        const int steps = 3000;
        const double out = run(*s, dt, steps, [&](int n) { return 3 * std::pow(n * dt, c.power) + 1; });
        const double input = 3 * std::pow(steps * dt, c.power) + 1;
        EXPECT_NEAR(input, out, 1e-6 * input) << "kind " << c.kind << " power " << c.power;
    }
    // ... and a first order lags a ramp by its time constant.
    const auto first = filter(1, SmoothRole::Zoom, 0.5);
    EXPECT_NEAR(60 - 0.5, run(*first, 0.02, 3000, [](int n) { return n * 0.02; }), 0.01);
}

TEST(SmoothTest, ConstantRateMovesTheVectorAtItsSpeedAndLandsExactly) {
    for (const int kind : {4, 5}) {
        const auto s = filter(kind, SmoothRole::Position, 0.1); // 10 units a second
        const double start[3] = {0, 0, 0};
        s->reset(start);
        double target[3] = {3, 4, 0}, out[3];
        if (kind == 4) {
            s->update(0.1, target, out); // one unit along the way to a point 5 away
            EXPECT_NEAR(0.6, out[0], 1e-12);
            EXPECT_NEAR(0.8, out[1], 1e-12);
            for (int n = 0; n < 4; ++n)
                s->update(0.1, target, out);
            EXPECT_EQ(3.0, out[0]) << "less than a step away: exactly on the input";
            EXPECT_EQ(4.0, out[1]);
        } else {
            for (int n = 0; n < 200; ++n)
                s->update(0.1, target, out);
            EXPECT_NEAR(3.0, out[0], 1e-9);
        }
    }
}

TEST(SmoothTest, AnglesCrossTheSeamTheShortWay) {
    for (const int kind : kKinds) {
        SCOPED_TRACE(kind);
        const auto s = filter(kind, SmoothRole::ViewAngles, 0.3);
        const double from[3] = {179 * kDegree, -179 * kDegree, 10 * kDegree};
        s->reset(from);
        double to[3] = {-179 * kDegree, 179 * kDegree, 10 * kDegree}, out[3] = {};
        double previous[2] = {from[0], from[1]};
        for (int n = 0; n < 400; ++n) {
            s->update(0.02, to, out);
            for (int i = 0; i < 2; ++i) {
                EXPECT_TRUE(out[i] > -kPi - 1e-12 && out[i] <= kPi) << out[i];
                // Never more than the two degrees between them, measured across the seam.
                const double moved = std::remainder(out[i] - previous[i], 2 * kPi);
                EXPECT_LE(std::abs(moved), 2.5 * kDegree) << n;
                previous[i] = out[i];
            }
        }
        EXPECT_NEAR(0, std::remainder(out[0] - to[0], 2 * kPi), 1e-6);
        EXPECT_NEAR(0, std::remainder(out[1] - to[1], 2 * kPi), 1e-6);
        EXPECT_NEAR(10 * kDegree, out[2], 1e-9);
    }
}

TEST(SmoothTest, AResetFilterAtRestStaysWhereItIs) {
    for (const int kind : kKinds) {
        const auto s = filter(kind, SmoothRole::Position, 0.7);
        const double value[3] = {123.456, -0.001, 7e6};
        s->reset(value);
        double out[3] = {};
        for (int n = 0; n < 1000; ++n) {
            double in[3] = {value[0], value[1], value[2]};
            s->update(0.016, in, out);
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_DOUBLE_EQ(value[i], out[i]) << "kind " << kind;
    }
}

TEST(SmoothTest, HugeAndMissingAnglesEndInAnAnswer) {
    const auto s = filter(1, SmoothRole::ViewAngles, 0.1);
    double in[3] = {1e300, -1e300, std::nan("")}, out[3] = {};
    s->update(0.02, in, out);
    EXPECT_TRUE(out[0] > -kPi - 1e-9 && out[0] <= kPi + 1e-9) << out[0];
    EXPECT_TRUE(std::isnan(out[2]));
}

} // namespace
