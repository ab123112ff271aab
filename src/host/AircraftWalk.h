#pragma once

#include <cstdint>

#include "host/hostabi.h"

// Walking the aircraft the simulator simulates, in id order, by one descent of its object map.
// Callers start at the user aircraft and go on until they get 0 or their start again.
namespace AircraftWalk {

// The smallest id greater than `id`, wrapping to the smallest; the user aircraft's id when `id`
// is not in the map. A missing map fails with "NULL pointer returned" at `place`.
uint32_t next(const ZHostObjectMap* map, uint32_t id, uint32_t userId, const char* place);
// The greatest id smaller than `id`, wrapping to the greatest; otherwise as next.
uint32_t previous(const ZHostObjectMap* map, uint32_t id, uint32_t userId, const char* place);

} // namespace AircraftWalk
