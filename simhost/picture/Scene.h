#pragma once

#include <span>

// What a view shows, in degrees (positions and angles as ViewCamera has them) and metres.
struct SceneAircraft {
    double latitude = 0;
    double longitude = 0;
    double altitude = 0; // of its centre of gravity, above mean sea level
    double heading = 0;
    double pitch = 0;
    double bank = 0;
    double span = 11;   // wing span
    double length = 8;
};

struct Runway {
    double latitude = 0; // of its centre
    double longitude = 0;
    double elevation = 0;
    double heading = 0; // true, of either direction
    double length = 0;
    double width = 0;
};

struct Scene {
    std::span<const SceneAircraft> aircraft;
    std::span<const Runway> runways;
    // Metres above mean sea level of the ground at a point given in radians.
    double (*groundElevation)(double latitude, double longitude) = nullptr;
};
