#pragma once

#include "world/AircraftType.h"

// How an aircraft type flies, as far as the autopilot needs it: speeds, rates and turns, derived
// from its cruise speed and category.
struct Performance {
    static Performance of(const AircraftType& type);

    double taxiSpeed = 15;  // knots
    double rotateSpeed = 0; // knots; 0: lifts off from a standstill
    double climbSpeed = 0;
    double circuitSpeed = 0;
    double approachSpeed = 0;
    double touchdownSpeed = 0;
    double cruiseSpeed = 0;
    double climbRate = 0;      // feet per minute
    double descentRate = 1500; // feet per minute, at most
    double acceleration = 3;   // knots per second
    double braking = 5;        // knots per second
    double airTurnRate = 3;    // degrees per second (a standard-rate turn)
    double groundTurnRate = 15;

    // The speed for en-route flying at that altitude (feet): 250 knots at most below 10000 feet.
    double routeSpeed(double altitudeFeet) const;
    // Metres, for a turn at airTurnRate.
    double turnRadius(double speedKnots) const;
};
