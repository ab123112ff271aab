#pragma once

#include <string>

// One aircraft the simulator can fly, as a "fltsim.N" section of an installed aircraft.cfg
// describes it, with the folder-wide [GENERAL], [flaps.0], [gear] and engine sections.
struct AircraftType {
    std::string title;
    std::string folder;    // the aircraft's folder (holds aircraft.cfg)
    std::string tailNumber; // atc_id
    std::string category = "Airplane"; // "Airplane" or "Helicopter"
    int engines = 1;
    int flapPositions = 0; // highest flap handle index; 0 = no flaps
    bool retractableGear = false;
    bool spoilers = false;
    bool propAndMixture = true;
    double staticCgHeight = 3.0;     // feet above ground, at rest
    double referenceAboveGround = 3.0; // feet, the reference point over the ground at rest
    double cruiseSpeed = 110;        // knots true
    bool tailhook = false;    // the object has a tailhook record
    bool wingFold = false;    // ... a wing-fold record
    bool waterRudder = false; // ... the second control chain, to its water rudder
    // How it looks: wing span and length in feet (0: as usual for its category and engines), and
    // the pilot's eye in feet from the reference point, forward, right and up.
    double wingSpan = 0;
    double length = 0;
    double eyeForward = 0;
    double eyeRight = 0;
    double eyeUp = 0;
    // The span and length the picture gives it, in metres.
    double spanMetres() const;
    double lengthMetres() const;
    // The pilot's eye in metres from the reference point, right, up and forward: the eyepoint
    // given, or ahead by 0.3 of the length and up by 0.05 of it plus 0.5 m.
    void eyeMetres(double& right, double& up, double& forward) const;
};
