// Rotations, local offsets and angle wrapping shared by the cameras.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "cameras/Geometry.h"

using namespace Geometry;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr float kPiF = std::numbers::pi_v<float>;
using Rows = std::array<std::array<double, 3>, 3>;

Rows product(const Rows& a, const Rows& b) {
    Rows p{};
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 3; ++c)
            for (std::size_t k = 0; k < 3; ++k)
                p[r][c] += a[r][k] * b[k][c];
    return p;
}

void expectMatrix(const Mat3& actual, const Rows& expected, double tolerance) {
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_NEAR(actual.m[3 * r + c], expected[r][c], tolerance) << r << "," << c;
}

void expectVector(const Vec3& actual, const Vec3& expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

const Rows kIdentity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

std::vector<Attitude> randomAttitudes() {
    std::mt19937 random(5117);
    std::uniform_real_distribution<float> angle(-kPiF, kPiF);
    std::vector<Attitude> attitudes;
    for (int i = 0; i < 20; ++i)
        attitudes.push_back({angle(random), angle(random), angle(random)});
    return attitudes;
}

TEST(GeometryTest, RotationIsHeadingAfterPitchAfterBank) {
    expectMatrix(rotation(0, 0, 0), kIdentity, 0);
    // Bank about the forward axis, then pitch about east (positive nose down), then heading about up.
    for (const Attitude& a : randomAttitudes()) {
        const double sp = std::sin(a.pitch), cp = std::cos(a.pitch), sb = std::sin(a.bank), cb = std::cos(a.bank);
        const double sh = std::sin(a.heading), ch = std::cos(a.heading);
        const Rows bank{{{cb, -sb, 0}, {sb, cb, 0}, {0, 0, 1}}};
        const Rows pitch{{{1, 0, 0}, {0, cp, -sp}, {0, sp, cp}}};
        const Rows heading{{{ch, 0, sh}, {0, 1, 0}, {-sh, 0, ch}}};
        expectMatrix(rotation(a), product(heading, product(pitch, bank)), 1e-6);
    }
}

TEST(GeometryTest, RotateTurnsTheAxes) {
    const Vec3 forward{0, 0, 1};
    struct Case { Attitude attitude; Vec3 in, out; };
    const float p = 0.3f;
    for (const Case& c : std::vector<Case>{{{0, 0, kPiF / 2}, forward, {1, 0, 0}},
                                           {{0, 0, kPiF}, forward, {0, 0, -1}},
                                           {{p, 0, 0}, forward, {0, -std::sin(p), std::cos(p)}},
                                           {{0, 0, kPiF / 2}, {0, 1, 0}, {0, 1, 0}},
                                           {{0, kPiF / 2, 0}, forward, forward}}) {
        const Attitude& a = c.attitude;
        expectVector(rotate(c.in, a.pitch, a.bank, a.heading), c.out, 1e-6f);
        Vec3 inPlace = c.in;
        rotate(inPlace.x, inPlace.y, inPlace.z, a.pitch, a.bank, a.heading);
        expectVector(inPlace, c.out, 1e-6f);
    }
}

TEST(GeometryTest, RotationsAreOrthonormalAndTransposeInvertsThem) {
    for (const Attitude& a : randomAttitudes()) {
        Mat3 inverse = rotation(a);
        transpose(inverse);
        expectMatrix(multiply(inverse, rotation(a)), kIdentity, 1e-6);
        expectMatrix(multiply(rotation(a), inverse), kIdentity, 1e-6);
    }
    Mat3 counting{{0, 1, 2, 3, 4, 5, 6, 7, 8}};
    transpose(counting);
    expectMatrix(counting, {{{0, 3, 6}, {1, 4, 7}, {2, 5, 8}}}, 0);
}

TEST(GeometryTest, MultiplyFollowsRowByColumn) {
    const Mat3 a{{1, 2, 3, 4, 5, 6, 7, 8, 9}};
    const Mat3 b{{9, 8, 7, 6, 5, 4, 3, 2, 1}};
    expectVector(multiply(a, Vec3{1, -2, 3}), {1 - 4 + 9, 4 - 10 + 18, 7 - 16 + 27}, 0);
    expectMatrix(multiply(a, b), {{{30, 24, 18}, {84, 69, 54}, {138, 114, 90}}}, 0);
    expectMatrix(multiply(b, a), {{{90, 114, 138}, {54, 69, 84}, {18, 24, 30}}}, 0);
}

TEST(GeometryTest, SnapToAxesKeepsTheLargestOfEachTriple) {
    struct Case { std::array<float, 9> in, out; };
    const float o = -0.0f;
    for (const Case& c : std::vector<Case>{
             {{0, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 1, 0, 0, 0, 1}},
             {{o, o, o, o, o, o, o, o, o}, {1, 0, 0, 0, 1, 0, 0, 0, 1}},
             {{-.5f, -.5f, -.5f, -.5f, -.5f, -.5f, -.5f, -.5f, -.5f}, {-1, 0, 0, 0, -1, 0, 0, 0, -1}},
             // Ties: (0,3,6) second beats third; (4,7,1) second beats third; (8,2,5) first wins.
             {{.1f, -.7f, .7f, -.7f, 0, .7f, .7f, .7f, -.7f}, {0, 0, 0, -1, 0, 0, 0, 1, -1}},
             {{.2f, .3f, -.1f, .1f, .4f, -.9f, -.9f, .2f, .5f}, {0, 0, 0, 0, 1, -1, -1, 0, 0}}}) {
        Mat3 matrix{c.in};
        snapToAxes(matrix);
        EXPECT_EQ(matrix.m, c.out);
    }
}

TEST(GeometryTest, RelativeRotationSnapsToQuarterTurns) {
    for (const Attitude& a : randomAttitudes())
        expectMatrix(relativeRotation(a, a), kIdentity, 0);
    struct Case { Attitude attitude1, attitude2; Rows snapped; };
    const float degree = kDegreesToRadians;
    for (const Case& c : std::vector<Case>{
             // Heading 100° (slightly pitched) seen from heading 10°: H(90°).
             {{5 * degree, 0, 100 * degree}, {0, 0, 10 * degree}, {{{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}}}},
             // Nose 80° down seen from heading 95°: H(−90°)·P(90°), not P(90°)·H(−90°).
             {{80 * degree, 0, 0}, {0, 0, 95 * degree}, {{{0, -1, 0}, {0, 0, -1}, {1, 0, 0}}}}})
        expectMatrix(relativeRotation(c.attitude1, c.attitude2), c.snapped, 0);
}

TEST(GeometryTest, LocalOffsetTakesTheShortWayAcrossTheDateLine) {
    const double lat = 0.5;
    const WorldPosition west{lat, kPi - 1e-4, 100};
    const WorldPosition east{lat + 2e-5, -kPi + 1e-4, 250};
    const double eastMetres = std::cos(lat) * 2e-4 * 6378134.344407706;
    const double northMetres = 2e-5 * 6367311.808277457;
    const double distance = std::sqrt(eastMetres * eastMetres + northMetres * northMetres + 150 * 150);
    Vec3 offset{};
    EXPECT_NEAR(localOffset(west, east, nullptr, &offset), distance, 1e-3);
    expectVector(offset, {static_cast<float>(eastMetres), 150, static_cast<float>(northMetres)}, 1e-3f);
    localOffset(east, west, nullptr, &offset);
    EXPECT_NEAR(offset.x, -std::cos(lat + 2e-5) * 2e-4 * 6378134.344407706, 1e-3);
    EXPECT_NEAR(offset.y, -150, 1e-3);
}

TEST(GeometryTest, LocalOffsetAnglesLookAlongTheOffset) {
    const WorldPosition from{0.7, 2.0, 500};
    for (const WorldPosition& to : {WorldPosition{0.7001, 2.0002, 900}, WorldPosition{0.6998, 1.9999, 10},
                                    WorldPosition{0.7, 1.9995, 500}, WorldPosition{0.6999, 2.0, 3000}}) {
        Attitude angles{1, 1, 1};
        Vec3 offset{};
        const float distance = localOffset(from, to, &angles, &offset);
        EXPECT_EQ(angles.bank, 0);
        const Vec3 look = rotate(Vec3{0, 0, 1}, angles.pitch, angles.bank, angles.heading);
        expectVector(look, {offset.x / distance, offset.y / distance, offset.z / distance}, 1e-5f);
    }
}

TEST(GeometryTest, LimitDistanceLeavesNearPositionsAlone) {
    const WorldPosition centre{0.8, -1.2, 300};
    WorldPosition position{0.80001, -1.20002, 350};
    const WorldPosition before = position;
    const double north = 1e-5 * 6367311.808277457, east = -2e-5 * std::cos(0.8) * 6378134.344407706;
    EXPECT_NEAR(limitDistance(position, centre, 500), std::sqrt(north * north + east * east + 50 * 50), 1e-3);
    EXPECT_EQ(position.latitude, before.latitude);
    EXPECT_EQ(position.longitude, before.longitude);
    EXPECT_EQ(position.altitude, before.altitude);
}

TEST(GeometryTest, LimitDistancePullsFarPositionsOntoTheLimit) {
    const WorldPosition centre{-0.3, kPi - 1e-4, 1000};
    for (const WorldPosition& start : {WorldPosition{-0.3008, kPi - 2e-3, 4000}, WorldPosition{-0.2995, -kPi + 5e-4, 0}}) {
        WorldPosition position = start;
        Vec3 offsetBefore{}, offsetAfter{};
        const float distanceBefore = localOffset(centre, start, nullptr, &offsetBefore);
        EXPECT_FLOAT_EQ(limitDistance(position, centre, 1500), 1500);
        EXPECT_NEAR(localOffset(centre, position, nullptr, &offsetAfter), 1500, 1500 * 1e-5);
        // Still on the straight line from the centre, on the same side.
        const float scale = 1500 / distanceBefore;
        expectVector(offsetAfter, {offsetBefore.x * scale, offsetBefore.y * scale, offsetBefore.z * scale}, 0.05f);
        EXPECT_LE(std::fabs(position.longitude), kPi);
    }
}

TEST(GeometryTest, OffsetToPositionUndoesLocalOffset) {
    const WorldPosition base{0.6, 1.0, 100};
    const WorldPosition moved = offsetToPosition(base, 1000, 50, 2000);
    EXPECT_NEAR(moved.latitude, 0.6 + 2000 * 1.5705214e-07, 1e-10);
    EXPECT_NEAR(moved.longitude, 1.0 + 1000 * 1.5678566e-07 / std::cos(0.6), 1e-10);
    EXPECT_EQ(moved.altitude, 150);
    for (const Vec3& offset : {Vec3{1000, 50, 2000}, Vec3{-3000, -20, 150}, Vec3{12, 4000, -8000}}) {
        Vec3 back{};
        localOffset(base, offsetToPosition(base, offset.x, offset.y, offset.z), nullptr, &back);
        expectVector(back, offset, 0.02f);
    }
    // East means nothing at the pole; the longitude stays put instead of running off to infinity.
    const WorldPosition pole = offsetToPosition({kPi / 2, 0.25, 0}, 100, 0, 0);
    EXPECT_EQ(pole.longitude, 0.25);
}

TEST(GeometryTest, WrapAngleKeepsPi) {
    EXPECT_EQ(wrapAngle(kPi), kPi);
    EXPECT_EQ(wrapAngle(-kPi), -kPi);
    EXPECT_EQ(wrapAngle(0.25), 0.25);
    for (double angle : {kPi + 0.1, -kPi - 0.1, 10 * 2 * kPi + 0.5, -7 * 2 * kPi - 1, 1000.0, -12345.6})
        EXPECT_NEAR(wrapAngle(angle), angle - 2 * kPi * std::round(angle / (2 * kPi)), 1e-9) << angle;
    const double far = wrapAngle(1e20);
    EXPECT_TRUE(far >= -kPi && far <= kPi);
}

TEST(GeometryTest, WrapViewAngleTurnsPiIntoMinusPi) {
    EXPECT_EQ(wrapViewAngle(kPiF), -kPiF);
    EXPECT_EQ(wrapViewAngle(-kPiF), -kPiF);
    EXPECT_EQ(wrapViewAngle(3.14f), 3.14f);
    for (float angle : {kPiF + 0.1f, -kPiF - 0.1f, 20 * 2 * kPiF + 1, -9 * 2 * kPiF - 2.5f})
        EXPECT_NEAR(wrapViewAngle(angle), angle - 2 * kPi * std::round(angle / (2 * kPi)), 1e-4) << angle;
    const float far = wrapViewAngle(1e30f);
    EXPECT_TRUE(far >= -kPiF && far < kPiF);
}

} // namespace
