#pragma once

#include <cstdint>

// The one time unit of records, files and the recorder's and player's clocks: 1/10000 second.
using Ticks = uint32_t;

constexpr Ticks kTicksPerSecond = 10000;
