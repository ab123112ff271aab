#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/hostabi.h"
#include "modules/HostNumbers.h"
#include "world/AircraftType.h"
#include "world/HandControls.h"
#include "world/SimContext.h"

// Where an aircraft starts: degrees, metres above the ground, true heading in degrees.
struct StartPosition {
    double latitude = 47.4582;
    double longitude = 8.5555;
    double altitudeAboveGround = 0;
    double heading = 340;
};

struct Waypoint {
    double latitude;  // degrees
    double longitude; // degrees
    double altitude;  // feet above mean sea level
};

// What the simulator's autopilot is asked to fly. Each manoeuvre runs to its end and then holds
// (parked on the ground, level flight in the air) until the next order.
struct ManoeuvreOrder {
    enum Kind { Park, StartEngines, ShutDown, Taxi, TakeOff, Circuit, Route, Land, Count };
    Kind kind = Park;
    double distance = 0;         // Taxi: metres straight ahead
    double altitude = 1000;      // TakeOff and Circuit: feet above the ground
    std::vector<Waypoint> route; // Route
};
// "park", "start-engines", "shutdown", "taxi", "takeoff", "circuit", "route", "land"; false for others.
bool parseManoeuvre(const std::string& word, ManoeuvreOrder::Kind& kind);

// One aircraft of the world: its type, its state (position and attitude in the flight data
// record's formats, velocities, and every variable the host offers), its autopilot, and the
// simulation object add-ons reach it through.
class Aircraft {
public:
    Aircraft(uint32_t id, const AircraftType& type, SimContext& context, const StartPosition& start);
    ~Aircraft();
    Aircraft(const Aircraft&) = delete;
    Aircraft& operator=(const Aircraft&) = delete;

    uint32_t id() const;
    const AircraftType& type() const;
    const std::string& tailNumber() const;
    void setTailNumber(const std::string& tailNumber);
    ZHostObject* object();

    // State as the add-on sees it.
    const ZHostPosition& position() const;
    void setPosition(const ZHostPosition& position);
    double latitude() const;  // radians
    double longitude() const; // radians
    double altitude() const;  // metres above mean sea level
    bool onGround() const;
    // Feet per second east, up, north.
    std::array<double, 3> velocity() const;
    // A variable by quantity and index (1-based where the quantity has one, else 0), in its unit.
    double quantity(HostNumbers::Quantity quantity, int index = 0) const;
    void setQuantity(HostNumbers::Quantity quantity, int index, double value);

    // The simulator's key events (the numbers of docs/host/numbers.md) with their effects.
    void keyEvent(uint32_t event, uint32_t value);

    void fly(const ManoeuvreOrder& order);
    // A person takes the controls from the autopilot until its next order.
    void flyByHand(const HandControls& controls);
    HandControls handControls() const;
    ManoeuvreOrder::Kind manoeuvre() const;
    // The last order has run to its end and the aircraft holds.
    bool holding() const;
    // Advances the dynamics and the autopilot by `seconds` of simulated time. An aircraft an
    // add-on has placed since the last step (set position) is not moved by its own dynamics in
    // this step: it follows the add-on.
    void step(double seconds);

private:
    struct State;
    std::unique_ptr<State> state_;
};
