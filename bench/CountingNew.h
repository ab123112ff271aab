#pragma once

// Linking CountingNew.cpp into a benchmark program replaces the global operator new (every form)
// by one that counts its calls, so that the program can show what allocates in its timed loops.

#include <cstdint>

namespace zbench {

// Calls of operator new in this process so far.
uint64_t newCalls();

// Whether the counting operator new is the one in use: a probe allocation must be counted.
bool countingNewInUse();

} // namespace zbench
