#pragma once

#include <cstddef>
#include <vector>

#include "world/Aircraft.h"
#include "world/AircraftState.h"
#include "world/FlightModel.h"
#include "world/HandFlying.h"
#include "world/Performance.h"

// The simulator's pilot: flies the manoeuvres a scenario orders (ManoeuvreOrder) as a plan of
// phases, and works the levers, handles, brakes and lights a pilot would on the way. When the
// plan is done it holds: stopped on the ground, level in the air. A person may take the controls
// (flyByHand) until the next order.
class Autopilot {
public:
    explicit Autopilot(AircraftState& state);

    void fly(const ManoeuvreOrder& order);
    void flyByHand(const HandControls& controls);
    // The controls as the person left them; centred with the throttle where the pilot had it
    // when nobody has taken them yet.
    HandControls handControls() const;
    ManoeuvreOrder::Kind manoeuvre() const { return order_.kind; }
    bool holding() const { return phase_ == Phase::Hold; }
    // What the aircraft is to fly over the next `seconds`.
    Guidance guide(double seconds);

private:
    enum class Phase {
        StartEngines,
        Stop,
        ShutDown,
        Taxi,
        TakeoffRoll,
        Climb,
        Legs,
        Approach,
        Rollout,
        Hold,
        Hand,
    };
    enum class Configuration { Takeoff, Clean, Approach, Landing };
    struct Leg {
        double latitude;  // degrees
        double longitude; // degrees
        double altitude;  // feet above mean sea level
        double speed;     // knots
        Configuration configuration;
    };

    void next();
    void enter(Phase phase);
    void planCircuit(bool fromGround);

    Guidance steady() const;
    Guidance startEngines();
    Guidance stop();
    Guidance shutDown();
    Guidance taxi();
    Guidance takeoffRoll();
    Guidance climb();
    Guidance legs();
    Guidance approach();
    Guidance rollout();
    Guidance hold() const;

    // Vertical speed (feet per minute) that brings the aircraft to an altitude in feet.
    double verticalSpeedTo(double altitude) const;
    double altitudeFeet() const;
    double heightFeet() const;
    void configure(Configuration configuration);
    void setThrottles(double ratio);
    void setLights(uint32_t lights, bool on);

    AircraftState& state_;
    Performance performance_;
    HandControls hands_;
    ManoeuvreOrder order_;
    std::vector<Phase> plan_;
    std::size_t planned_ = 0;
    Phase phase_ = Phase::Hold;
    double phaseSeconds_ = 0;
    std::vector<Leg> legs_;
    std::size_t leg_ = 0;
    // Where the order was given: the circuit's touchdown point, the taxi's start.
    double originLatitude_ = 0;
    double originLongitude_ = 0;
    double fieldElevation_ = 0; // feet
    double track_ = 0;          // degrees: the runway, or the line flown straight ahead
    double targetAltitude_ = 0; // feet: the climb's, or the level a hold keeps
    bool touchdownPoint_ = false;
};
