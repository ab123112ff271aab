#pragma once

#include <string>

#include "system/Guid.h"

// A camera a "Switch Camera" marker can switch to, as the camera manager lists it.
struct CameraChoice {
    enum Kind { Simulator = 0, VC = 1, Tower = 2, Spot = 3 }; // Simulator: one of the simulator's own
    Kind kind = Simulator;
    std::string title;
    Guid guid{};
};
