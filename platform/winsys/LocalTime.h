#pragma once

#include "winsys/Types.h"

// The clock of the machine in its own time zone.
namespace win {

// The local date and time, to the millisecond; the headless backend may hold it fixed
// (headless::setLocalTime).
void GetLocalTime(SYSTEMTIME& time);

} // namespace win
