#pragma once

#include "world/AircraftState.h"

// What the autopilot asks of an aircraft's motion for one step.
struct Guidance {
    double heading = 0;       // degrees true: the track to fly
    double speed = 0;         // knots over the ground
    double verticalSpeed = 0; // feet per minute; a climb asked on the ground lifts off
    double noseUp = 0;        // degrees of pitch above the flight path (angle of attack, rotation)
    double turnRate = 3;      // degrees per second at most
    double acceleration = 3;  // knots per second at most
    double deceleration = 2;
};

// The aircraft's simple, deterministic motion. Heading, speed and vertical speed move toward what
// is asked at finite rates, the position follows the velocities over the sphere, and the ground
// holds the reference point up at its rest height. Flap surfaces and gear legs travel toward
// their handles in seconds.
namespace FlightModel {

void fly(AircraftState& state, const Guidance& guidance, double seconds);
// Keeps the velocity an add-on gave the aircraft.
void coast(AircraftState& state, double seconds);
void moveSurfaces(AircraftState& state, double seconds);

} // namespace FlightModel
