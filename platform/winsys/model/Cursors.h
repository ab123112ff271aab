#pragma once

#include "winsys/Types.h"

namespace win::model {

// "arrow", "cross"; "none" for nullptr.
const char* cursorName(HCURSOR cursor);
// Moves the cursor as the user's mouse does, without a transcript entry.
void placeCursor(POINT screen);

} // namespace win::model
