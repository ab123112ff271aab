#include "world/Airports.h"

#include <algorithm>

#include "world/Earth.h"

namespace {

// Zurich: the default start position is the threshold of runway 34, 1850 m short of its centre.
constexpr AirportRunway kZurich[] = {
    {47.473843, 8.547077, 340, 3700, 60},
    {47.463122, 8.575512, 280, 2500, 60},
};
constexpr AirportRunway kGeneva[] = {
    {46.2381, 6.1090, 49, 3900, 50},
};
constexpr AirportRunway kKennedy[] = {
    {40.6413, -73.7781, 301, 4400, 60},
    {40.648048, -73.793506, 31, 3460, 45},
};

constexpr Airport kAirports[] = {
    {"LSZH", 47.4582, 8.5555, 432, kZurich, 47.458200, 8.564816, 41},
    {"LSGG", 46.2381, 6.1090, 412, kGeneva, 46.233964, 6.114017, 35},
    {"KJFK", 40.6413, -73.7781, 4, kKennedy, 40.637072, -73.780128, 98},
};

} // namespace

namespace Airports {

std::span<const Airport> all() {
    return kAirports;
}

const Airport& nearest(double latitude, double longitude) {
    return *std::min_element(std::begin(kAirports), std::end(kAirports), [&](const Airport& a, const Airport& b) {
        return Earth::distance(latitude, longitude, a.latitude, a.longitude) <
               Earth::distance(latitude, longitude, b.latitude, b.longitude);
    });
}

} // namespace Airports
