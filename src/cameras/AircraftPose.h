#pragma once

#include <cstdint>

#include "cameras/Geometry.h"

// Where an aircraft of the simulator is and how it lies, as the cameras use it.
struct AircraftPose {
    Geometry::WorldPosition position;
    Geometry::Attitude attitude;

    static AircraftPose of(uint32_t id);
    // The point `offset` (metres right, up, forward in the aircraft's frame) from its reference
    // point, in the world.
    Geometry::WorldPosition pointAt(const float offset[3]) const;
};
