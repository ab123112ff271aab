// The world's terrain, magnetic variation and wind: smooth deterministic functions of position,
// the terrain flat around the airports (the default start position among them).

#include <algorithm>
#include <cmath>

#include "world/Airports.h"
#include "world/Earth.h"
#include "world/World.h"

namespace {

constexpr double kFlatRadius = 8000;  // metres of level ground around an airfield
constexpr double kBlendWidth = 12000; // metres over which the hills rise from it

// Rolling hills: a broad swell with two shorter waves on it.
double hills(double latitude, double longitude) {
    return 430 + 150 * std::sin(latitude * 60 + 0.5) * std::cos(longitude * 45) +
           60 * std::sin(latitude * 1900 + 0.3) * std::cos(longitude * 1300) +
           25 * std::sin(latitude * 5200 + longitude * 4100);
}

double smoothstep(double x) {
    const double t = std::clamp(x, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

} // namespace

double World::groundElevation(double latitude, double longitude) {
    double elevation = hills(latitude, longitude);
    for (const Airport& field : Airports::all()) {
        // No path between two points is shorter than the difference of their latitudes: most
        // places are too far north or south of an airfield to work out the distance at all.
        if (Earth::kRadius * std::abs(latitude - Earth::radians(field.latitude)) >= kFlatRadius + kBlendWidth)
            continue;
        const double distance = Earth::distance(Earth::degrees(latitude), Earth::degrees(longitude),
                                                field.latitude, field.longitude);
        if (distance >= kFlatRadius + kBlendWidth)
            continue;
        const double weight = smoothstep(1 - (distance - kFlatRadius) / kBlendWidth);
        elevation = weight * field.elevation + (1 - weight) * elevation;
    }
    return std::max(0.0, elevation);
}

double World::magneticVariation(double latitude, double longitude) {
    return 2 + 8 * std::sin(longitude - 0.15) * std::cos(latitude) + 1.5 * std::sin(latitude * 3);
}

void World::wind(double latitude, double longitude, double altitude, double& directionDegrees,
                 double& speedKnots) {
    directionDegrees = Earth::normalizedHeading(
        250 + 30 * std::sin(latitude * 50) * std::cos(longitude * 40) + altitude / 1000 * 4);
    speedKnots = std::max(0.0, 6 + 3 * std::sin(longitude * 70 + latitude * 20) + altitude * 0.006);
}
