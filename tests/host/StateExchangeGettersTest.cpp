// The single getters and setters of the aircraft state and every failure for a missing object.

#include <gtest/gtest.h>

#include <functional>
#include <numbers>

#include "FakeObject.h"
#include "host/FSinterface.h"
#include "support/Errors.h"

namespace {

using Q = HostNumbers::Quantity;
constexpr uint32_t kUser = 1;
constexpr double kPi = std::numbers::pi;

using StateExchangeGettersTest = FakeObjectTest;

TEST_F(StateExchangeGettersTest, TheUserAircraftsStateInTheUnitsOfEachGetterAtEveryVersion) {
    for (int version = 0; version < 5; ++version) {
        SCOPED_TRACE("version index " + std::to_string(version));
        useFakeHost(version);
        FakeObject user(kUser, version);
        setFakeUser(kUser);
        // Latitude pi/4, longitude -pi/2, 1000 m; pitch pi/2, bank -pi/4, heading 270 degrees.
        user.position = {5000875LL << 32, -(1LL << 62), 1000LL << 32, 1 << 30, -(1 << 29), 0xC0000000u};
        user.set(Q::GroundAltitude, 200.5);
        user.set(Q::ReferenceAboveGround, 10);
        user.set(Q::OnGround, 1);
        user.set(Q::EngineRunning, 0, 1);
        user.set(Q::EngineRunning, 1, 2);
        user.set(Q::SpoilerHandle, 4800.7);
        user.set(Q::MagneticVariation, -2.5);
        user.velocity[1] = 12.5;
        user.referencePoint[2] = 300;

        double lla[3];
        float pbh[3];
        FSinterface::getLLAPBH(kUser, lla, pbh);
        EXPECT_DOUBLE_EQ(kPi / 4, lla[0]);
        EXPECT_DOUBLE_EQ(-kPi / 2, lla[1]);
        EXPECT_DOUBLE_EQ(1000, lla[2]);
        EXPECT_FLOAT_EQ(static_cast<float>(kPi / 2), pbh[0]);
        EXPECT_FLOAT_EQ(static_cast<float>(-kPi / 4), pbh[1]);
        EXPECT_FLOAT_EQ(static_cast<float>(-kPi / 2), pbh[2]); // signed: -pi .. pi
        FSinterface::getLLAPBH(kUser, nullptr, pbh);
        EXPECT_FLOAT_EQ(1000.0f - 200.5f - 10 * 0.3048f, FSinterface::getHeight());
        EXPECT_TRUE(FSinterface::getOnGround());
        EXPECT_FALSE(FSinterface::getEngineRunning()); // engine 1 only
        EXPECT_EQ(4800, FSinterface::getSpoilers());
        EXPECT_EQ(200.5, FSinterface::getGroundAlt());
        EXPECT_EQ(-2.5, FSinterface::getMagVar());
        double v[3], point[3];
        FSinterface::getVelXYZ(kUser, v);
        EXPECT_EQ(12.5, v[1]);
        FSinterface::getUserRefPoint(point);
        EXPECT_EQ(300, point[2]);
    }
}

TEST_F(StateExchangeGettersTest, SettersChangeTheHostUntilTheModuleStops) {
    useFakeHost(4);
    FakeObject user(kUser, 4);
    setFakeUser(kUser);
    const ZHostDateTime leap = {2020, 2, 29, 23, 59, 58};
    FSinterface::setSpoilers(16383);
    FSinterface::setDateTime(leap);
    EXPECT_EQ(16383, user.value(Q::SpoilerHandle));
    EXPECT_EQ(0, std::memcmp(&leap, &fakeAppliedDateTime(), sizeof leap));
    EXPECT_EQ(0, std::memcmp(&leap, &fakeDateTime(), sizeof leap));

    hostState().stopping = true;
    FSinterface::setSpoilers(0);
    FSinterface::setDateTime({2000, 1, 1, 0, 0, 0});
    ContData cont{};
    DiscData disc{};
    const DataFormat format = {4, ContGroup::All, DiscGroup::All, 0, 0};
    FSinterface::writeData(kUser, &cont, &disc, &format, true);
    EXPECT_EQ(16383, user.value(Q::SpoilerHandle));
    EXPECT_EQ(0, std::memcmp(&leap, &fakeAppliedDateTime(), sizeof leap));
    EXPECT_TRUE(user.positionWrites.empty());
    EXPECT_TRUE(user.events.empty());
}

int64_t groundQuery[2];
TEST_F(StateExchangeGettersTest, GroundElevationIsAskedInTheRecordsFormats) {
    useFakeHost(0);
    hostState().bound.groundElevation = [](int64_t latitude, int64_t longitude) {
        groundQuery[0] = latitude;
        groundQuery[1] = longitude;
        return 432.5;
    };
    EXPECT_EQ(432.5, FSinterface::getGroundElevation(kPi / 4, -kPi / 2));
    EXPECT_EQ(5000875LL << 32, groundQuery[0]);
    EXPECT_EQ(-(1LL << 62), groundQuery[1]);
    FSinterface::getGroundElevationRaw(5, -6);
    EXPECT_EQ(5, groundQuery[0]);
    EXPECT_EQ(-6, groundQuery[1]);
}

TEST_F(StateExchangeGettersTest, AMissingObjectIsAnInvalidAircraftIdAtEachOperationsPlace) {
    useFakeHost(2);
    FakeObject other(5, 2); // neither the user aircraft nor the id asked for
    ContData cont{};
    DiscData disc{};
    const DataFormat format = {1, 0, 0, 0, 0};
    double lla[3], v[3];
    float pbh[3];
    AcftData data;
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"FSinterface::readData",
         [&] { FSinterface::readData(9, ContGroup::All, DiscGroup::All, &cont, &disc); }},
        {"FSinterface::writeData", [&] { FSinterface::writeData(9, &cont, &disc, &format, false); }},
        {"FSinterface::getOnGround", [] { FSinterface::getOnGround(); }},
        {"FSinterface::getEngineRunning", [] { FSinterface::getEngineRunning(); }},
        {"FSinterface::getLLAPBH", [&] { FSinterface::getLLAPBH(9, lla, pbh); }},
        {"FSinterface::getVelXYZ", [&] { FSinterface::getVelXYZ(9, v); }},
        {"FSinterface::getSpoilers", [] { FSinterface::getSpoilers(); }},
        {"FSinterface::setSpoilers", [] { FSinterface::setSpoilers(1); }},
        {"FSinterface::getHeight", [] { FSinterface::getHeight(); }},
        {"FSinterface::getGroundAlt", [] { FSinterface::getGroundAlt(); }},
        {"FSinterface::getMagVar", [] { FSinterface::getMagVar(); }},
        {"FSinterface::getAcftData", [&] { FSinterface::getAcftData(9, data); }},
        {"FSinterface::setRegistration", [] { FSinterface::setRegistration(9, "HB-XYZ"); }},
    };
    for (const auto& [place, operation] : cases) {
        const auto e = thrown(operation);
        ASSERT_TRUE(e.has_value()) << place;
        EXPECT_EQ(ErrorCode::InvalidAircraftId, e->code) << place;
        EXPECT_EQ(2u, e->severity) << place;
        EXPECT_EQ(place, e->function);
        EXPECT_EQ("Invalid aircraft ID!", e->userText);
    }
    double point[3] = {1, 2, 3};
    FSinterface::getUserRefPoint(point); // no user aircraft: nothing to measure from
    EXPECT_EQ(0, point[0] + point[1] + point[2]);
}

} // namespace
