#pragma once

#include <string>

// One aircraft the simulator has installed, as the aircraft choosers list it. The caller fills
// these from the host's aircraft list; ui knows nothing of the host.
struct AircraftChoice {
    std::string manufacturer;
    std::string model;
    std::string variation;
    std::string title;
};
