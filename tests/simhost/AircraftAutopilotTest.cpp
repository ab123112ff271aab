// The simulator's autopilot flying the sample root's aircraft through its manoeuvres.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "world/AircraftCatalog.h"
#include "world/World.h"

namespace {

using HostNumbers::Quantity;

constexpr double kFoot = 0.3048;
constexpr double kEarthRadius = 2 * 10001750.0 / M_PI; // the sphere of the latitude format
constexpr double kStep = 0.5;                          // seconds

const char* const kTrainer = "Trainer 152 Aerobat";
const char* const kTwinJet = "Twin Jet 737-800 House";
const char* const kHelicopter = "Helicopter 206B JetRanger";

// Metres between two points given in radians, flat-earth over the short distances flown here.
double metresBetween(double latitude1, double longitude1, double latitude2, double longitude2) {
    const double north = (latitude2 - latitude1) * kEarthRadius;
    const double east = (longitude2 - longitude1) * kEarthRadius * std::cos((latitude1 + latitude2) / 2);
    return std::hypot(north, east);
}

double speedKnots(const Aircraft& aircraft) {
    const auto v = aircraft.velocity();
    return std::hypot(v[0], v[1], v[2]) * kFoot * 3600 / 1852;
}

class AircraftAutopilotTest : public ::testing::Test {
protected:
    std::unique_ptr<Aircraft> make(const char* title, double heightFeet = 0) {
        static const AircraftCatalog catalog = AircraftCatalog::load(ZEPHREL_SAMPLE_SIM_ROOT);
        const AircraftType* type = catalog.find(title);
        EXPECT_NE(nullptr, type) << title;
        start.altitudeAboveGround = heightFeet * kFoot;
        auto aircraft = std::make_unique<Aircraft>(1, *type, context, start);
        startLatitude = aircraft->latitude();
        startLongitude = aircraft->longitude();
        field = World::groundElevation(startLatitude, startLongitude);
        return aircraft;
    }
    double fromStart(const Aircraft& aircraft) const {
        return metresBetween(startLatitude, startLongitude, aircraft.latitude(), aircraft.longitude());
    }
    // Feet of the reference point above the start's ground.
    double aboveField(const Aircraft& aircraft) const { return (aircraft.altitude() - field) / kFoot; }

    // Flies the order until the aircraft holds; watch sees every step. False when time ran out.
    template <typename Watch> bool fly(Aircraft& aircraft, const ManoeuvreOrder& order, Watch&& watch) {
        aircraft.fly(order);
        for (double t = 0; t < 1800; t += kStep) {
            aircraft.step(kStep);
            watch(t);
            if (aircraft.holding())
                return true;
        }
        return false;
    }
    bool fly(Aircraft& aircraft, const ManoeuvreOrder& order) {
        return fly(aircraft, order, [](double) {});
    }

    SimContext context{HostVersion::accepted(3)};
    StartPosition start;
    double startLatitude = 0;
    double startLongitude = 0;
    double field = 0;
};

// The same manoeuvres for an aeroplane with fixed gear, a jet and a helicopter.
class AircraftAutopilotKindsTest : public AircraftAutopilotTest,
                                   public ::testing::WithParamInterface<const char*> {};

TEST_P(AircraftAutopilotKindsTest, TakeOffClimbsToTheHeightAskedAndCleansUp) {
    auto aircraft = make(GetParam());
    ASSERT_TRUE(aircraft->onGround());
    ManoeuvreOrder order;
    order.kind = ManoeuvreOrder::TakeOff;
    order.altitude = 1500;
    ASSERT_TRUE(fly(*aircraft, order));
    EXPECT_FALSE(aircraft->onGround());
    EXPECT_NEAR(1500, aboveField(*aircraft), 25);
    EXPECT_NEAR(start.heading, aircraft->position().heading * 360.0 / 4294967296.0, 1) << "straight ahead";
    EXPECT_GT(fromStart(*aircraft), 500);
    EXPECT_EQ(1, aircraft->quantity(Quantity::EngineRunning, 1)) << "started before the roll";
    EXPECT_EQ(0, aircraft->quantity(Quantity::FlapHandleIndex));
    if (aircraft->type().retractableGear) {
        EXPECT_EQ(0, aircraft->quantity(Quantity::GearHandlePosition));
        EXPECT_EQ(0, aircraft->quantity(Quantity::GearLegPosition, 1));
    } else {
        EXPECT_EQ(1, aircraft->quantity(Quantity::GearLegPosition, 1));
    }
}

TEST_P(AircraftAutopilotKindsTest, CircuitComesBackToTheStartAndLands) {
    auto aircraft = make(GetParam());
    ManoeuvreOrder order;
    order.kind = ManoeuvreOrder::Circuit;
    order.altitude = 1000;
    double farthest = 0;
    double highest = 0;
    ASSERT_TRUE(fly(*aircraft, order, [&](double) {
        farthest = std::max(farthest, fromStart(*aircraft));
        highest = std::max(highest, aboveField(*aircraft));
    }));
    EXPECT_NEAR(1000, highest, 60);
    EXPECT_GT(farthest, 2000);
    EXPECT_TRUE(aircraft->onGround());
    EXPECT_LT(speedKnots(*aircraft), 1);
    EXPECT_LT(fromStart(*aircraft), 2500) << "back where it started";
    EXPECT_EQ(16383, aircraft->quantity(Quantity::GearHandlePosition));
}

INSTANTIATE_TEST_SUITE_P(SampleAircraft, AircraftAutopilotKindsTest,
                         ::testing::Values(kTrainer, kTwinJet, kHelicopter));

TEST_F(AircraftAutopilotTest, RouteReachesItsWaypointsInOrderAndLevels) {
    auto aircraft = make(kTrainer, 1500);
    const double fieldFeet = field / kFoot;
    // Offsets in metres north and east of the start.
    const double offsets[][3] = {{8000, 0, 2000}, {12000, 6000, 2500}, {6000, 12000, 2200}};
    ManoeuvreOrder order;
    order.kind = ManoeuvreOrder::Route;
    for (const auto& o : offsets) {
        const double latitude = startLatitude + o[0] / kEarthRadius;
        const double longitude = startLongitude + o[1] / (kEarthRadius * std::cos(startLatitude));
        order.route.push_back({latitude * 180 / M_PI, longitude * 180 / M_PI, fieldFeet + o[2]});
    }
    struct Closest {
        double metres = 1e9, when = 0, altitude = 0;
    } closest[3];
    ASSERT_TRUE(fly(*aircraft, order, [&](double t) {
        for (std::size_t i = 0; i < 3; ++i) {
            const Waypoint& w = order.route[i];
            const double d = metresBetween(aircraft->latitude(), aircraft->longitude(),
                                           w.latitude * M_PI / 180, w.longitude * M_PI / 180);
            if (d < closest[i].metres)
                closest[i] = {d, t, aircraft->altitude() / kFoot};
        }
    }));
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_LT(closest[i].metres, 2000) << "waypoint " << i;
        EXPECT_NEAR(order.route[i].altitude, closest[i].altitude, 250) << "waypoint " << i;
        if (i > 0) {
            EXPECT_GT(closest[i].when, closest[i - 1].when) << "waypoint " << i;
        }
    }
    EXPECT_FALSE(aircraft->onGround());
    EXPECT_NEAR(0, aircraft->velocity()[1], 2) << "level at the end";
}

TEST_F(AircraftAutopilotTest, TaxisItsDistanceThenParksAndShutsDown) {
    auto aircraft = make(kTrainer);
    ManoeuvreOrder order;
    order.kind = ManoeuvreOrder::Taxi;
    order.distance = 300;
    ASSERT_TRUE(fly(*aircraft, order));
    EXPECT_NEAR(300, fromStart(*aircraft), 5);
    EXPECT_TRUE(aircraft->onGround());
    EXPECT_LT(speedKnots(*aircraft), 0.5);
    EXPECT_EQ(1, aircraft->quantity(Quantity::EngineRunning, 1));
    EXPECT_EQ(0, aircraft->quantity(Quantity::ParkingBrakePosition));

    order.kind = ManoeuvreOrder::Park;
    ASSERT_TRUE(fly(*aircraft, order));
    EXPECT_EQ(1, aircraft->quantity(Quantity::ParkingBrakePosition));
    order.kind = ManoeuvreOrder::ShutDown;
    ASSERT_TRUE(fly(*aircraft, order));
    EXPECT_EQ(ManoeuvreOrder::ShutDown, aircraft->manoeuvre());
    EXPECT_EQ(0, aircraft->quantity(Quantity::EngineRunning, 1));
}

TEST_F(AircraftAutopilotTest, LandsStraightAheadAndStops) {
    auto aircraft = make(kTwinJet, 800);
    ManoeuvreOrder order;
    order.kind = ManoeuvreOrder::Land;
    bool lightsOn = false;
    ASSERT_TRUE(fly(*aircraft, order, [&](double) {
        lightsOn = lightsOn || (static_cast<uint32_t>(aircraft->quantity(Quantity::LightStates)) & 0x4) != 0;
    }));
    EXPECT_TRUE(aircraft->onGround());
    EXPECT_LT(speedKnots(*aircraft), 1);
    EXPECT_NEAR(start.heading, aircraft->position().heading * 360.0 / 4294967296.0, 1);
    EXPECT_TRUE(lightsOn) << "landing lights below 1000 feet";
    EXPECT_EQ(1, aircraft->quantity(Quantity::GearLegPosition, 1)) << "gear down";
}

double headingDegrees(const Aircraft& aircraft) {
    return aircraft.position().heading * 360.0 / 4294967296.0;
}

// Degrees from one heading to another, -180..180.
double turned(double from, double to) {
    return std::remainder(to - from, 360.0);
}

TEST_F(AircraftAutopilotTest, ByHandTheThrottleTheStickAndTheAileronFlyIt) {
    auto aircraft = make(kTrainer);
    ManoeuvreOrder engines;
    engines.kind = ManoeuvreOrder::StartEngines;
    ASSERT_TRUE(fly(*aircraft, engines));
    const auto step = [&](double seconds) {
        for (double t = 0; t < seconds; t += kStep)
            aircraft->step(kStep);
    };

    HandControls hands;
    hands.throttle = 1;
    aircraft->flyByHand(hands);
    EXPECT_EQ(16383, aircraft->quantity(Quantity::ThrottleLever, 1)) << "the lever follows the hand";
    step(15);
    EXPECT_TRUE(aircraft->onGround()) << "the stick centred keeps it on the ground";
    EXPECT_GT(speedKnots(*aircraft), 40);

    hands.elevator = 0.5;
    aircraft->flyByHand(hands);
    step(30);
    EXPECT_FALSE(aircraft->onGround());
    EXPECT_GT(aboveField(*aircraft), 50);
    EXPECT_GT(aircraft->velocity()[1], 0) << "climbing";

    for (double aileron : {0.5, -0.5}) {
        hands.elevator = 0;
        hands.aileron = aileron;
        aircraft->flyByHand(hands);
        const double before = headingDegrees(*aircraft);
        step(10);
        // Half deflection: half of twice the standard rate, 3 degrees a second.
        EXPECT_NEAR(aileron * 60, turned(before, headingDegrees(*aircraft)), 8) << "aileron " << aileron;
    }

    hands.aileron = 0;
    hands.elevator = -1;
    aircraft->flyByHand(hands);
    step(2);
    EXPECT_LT(aircraft->velocity()[1], 0) << "the stick forward descends";
    EXPECT_EQ(hands.elevator, aircraft->handControls().elevator);
}

TEST_F(AircraftAutopilotTest, ByHandNothingMovesWithoutAnEngineAndTheBrakesStopIt) {
    auto aircraft = make(kTrainer);
    HandControls hands;
    hands.throttle = 1;
    aircraft->flyByHand(hands);
    for (double t = 0; t < 10; t += kStep)
        aircraft->step(kStep);
    EXPECT_LT(speedKnots(*aircraft), 0.5) << "the engine is off";

    ManoeuvreOrder engines;
    engines.kind = ManoeuvreOrder::StartEngines;
    ASSERT_TRUE(fly(*aircraft, engines));
    aircraft->flyByHand(hands);
    for (double t = 0; t < 8; t += kStep)
        aircraft->step(kStep);
    EXPECT_GT(speedKnots(*aircraft), 15);
    hands.brakes = true;
    aircraft->flyByHand(hands);
    for (double t = 0; t < 10; t += kStep)
        aircraft->step(kStep);
    EXPECT_LT(speedKnots(*aircraft), 0.5);
}

TEST_F(AircraftAutopilotTest, AnOrderTakesTheAircraftBackFromTheHands) {
    auto aircraft = make(kTrainer);
    HandControls hands;
    hands.throttle = 0.3;
    hands.aileron = 1;
    aircraft->flyByHand(hands);
    EXPECT_EQ(1, aircraft->handControls().aileron);
    EXPECT_FALSE(aircraft->holding());

    ManoeuvreOrder park;
    park.kind = ManoeuvreOrder::Park;
    ASSERT_TRUE(fly(*aircraft, park));
    const HandControls left = aircraft->handControls();
    EXPECT_EQ(0, left.aileron) << "taken again, the controls are centred";
    EXPECT_EQ(0, left.elevator);
    EXPECT_NEAR(0, left.throttle, 1e-9) << "the throttle where the autopilot left the lever";
}

TEST(ManoeuvreWordsTest, ParsesTheScenarioWords) {
    const char* const words[] = {"park",    "start-engines", "shutdown", "taxi",
                                 "takeoff", "circuit",       "route",    "land"};
    for (int i = 0; i < ManoeuvreOrder::Count; ++i) {
        ManoeuvreOrder::Kind kind{};
        ASSERT_TRUE(parseManoeuvre(words[i], kind)) << words[i];
        EXPECT_EQ(i, kind);
    }
    ManoeuvreOrder::Kind kind{};
    EXPECT_FALSE(parseManoeuvre("loop", kind));
    EXPECT_FALSE(parseManoeuvre("Park", kind));
}

} // namespace
