#pragma once

#include <span>

// The airports the stand-in world knows: each a level field around its reference point, with its
// runways and its control tower. Positions in degrees, lengths and heights in metres, headings
// true.
struct AirportRunway {
    double latitude; // of its centre
    double longitude;
    double heading; // of one of its two directions
    double length;
    double width;
};

struct Airport {
    const char* code;
    double latitude; // the reference point
    double longitude;
    double elevation;
    std::span<const AirportRunway> runways;
    double towerLatitude;
    double towerLongitude;
    double towerHeight; // of the cab's windows above the field
};

namespace Airports {

std::span<const Airport> all();
// The airport whose reference point is nearest to a point given in degrees.
const Airport& nearest(double latitude, double longitude);

} // namespace Airports
