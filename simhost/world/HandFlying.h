#pragma once

#include "world/AircraftState.h"
#include "world/FlightModel.h"
#include "world/HandControls.h"
#include "world/Performance.h"

// What the aircraft flies with those controls. On the ground the throttle sets the speed from a
// standstill to the cruise speed, the aileron steers and the stick held back lifts off once the
// rotation speed is reached; in the air the throttle sets the speed from the approach to the
// cruise speed, the stick the climb or descent, and the aileron the turn (up to twice a
// standard-rate turn). Without a running engine the aircraft glides.
Guidance handGuidance(const AircraftState& state, const Performance& performance,
                      const HandControls& controls);
