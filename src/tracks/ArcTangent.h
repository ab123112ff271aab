#pragma once

#include <numbers>

// Two doubles worked on at once, in the processor's vectors (SSE2, NEON).
using DoublePair = double __attribute__((vector_size(16)));

// The angles of two points (x, y) from the x axis, in radians, -pi..pi, each as std::atan2 gives
// it to within a few parts in 10^16 (0 for the origin), at a quarter of its cost: the path of
// every imported point takes four. A rational approximation of the arc tangent on 0..1 (Cephes'
// minimax), turned into the octant of (x, y); each octant chosen by selecting, not by branching,
// as the two may lie in different ones and a path's octants change. Inline wherever it is
// called: a call costs a good part of it.
[[gnu::always_inline]] inline DoublePair arcTangent2(DoublePair y, DoublePair x) {
    constexpr double kP[] = {-8.750608600031904122785E-1, -1.615753718733365076637E1,
                             -7.500855792314704667340E1, -1.228866684490136173410E2,
                             -6.485021904942025371773E1};
    constexpr double kQ[] = {2.485846490142306297962E1, 1.650270098316988542046E2, 4.328810604912902668951E2,
                             4.853903996359136964868E2, 1.945506571482613964425E2};
    constexpr double kMoreBits = 6.123233995736765886130E-17; // pi/4 less its double
    const DoublePair zero = {0, 0}, one = {1, 1};
    const DoublePair ax = x < zero ? -x : x, ay = y < zero ? -y : y;
    const auto steep = ay > ax;
    DoublePair t = steep ? ax / ay : ay / ax; // 0..1; not a number for the origin
    // Near the diagonal: turned by pi/4, where the approximation holds.
    const auto diagonal = t > DoublePair{0.66, 0.66};
    constexpr double kQuarter = std::numbers::pi / 4 + kMoreBits / 2;
    DoublePair angle = diagonal ? DoublePair{kQuarter, kQuarter} : zero;
    t = diagonal ? (t - one) / (t + one) : t;
    const DoublePair z = t * t;
    const DoublePair p = (((kP[0] * z + kP[1]) * z + kP[2]) * z + kP[3]) * z + kP[4];
    const DoublePair q = ((((z + kQ[0]) * z + kQ[1]) * z + kQ[2]) * z + kQ[3]) * z + kQ[4];
    angle += t * (z * p / q) + t;
    constexpr double kHalf = std::numbers::pi / 2, kWhole = std::numbers::pi;
    angle = steep ? DoublePair{kHalf, kHalf} - angle : angle;
    angle = x < zero ? DoublePair{kWhole, kWhole} - angle : angle;
    angle = y < zero ? -angle : angle;
    return ax == zero && ay == zero ? zero : angle;
}
