#pragma once

#include <cstdint>

#include "host/hostabi.h"

// The Level-D 767 keeps its light switches in its own panel variables and ignores the
// simulator's light mask; its lights are read and written through the panel table instead.
namespace LevelDLights {

// The light mask composed from the switches (bits 6 and 9 are never set).
uint16_t read(const ZHostPanels& panels);
// Each switch set to 1 or 0 from its bit of the mask.
void write(const ZHostPanels& panels, uint16_t mask);

} // namespace LevelDLights
