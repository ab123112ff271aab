#pragma once

#include <cstdint>
#include <optional>

// The simulator's keys for its view commands (host event 9's command numbers), by virtual key and
// the Shift and Ctrl state; docs/simhost/views.md lists them.
std::optional<uint32_t> viewCommandForKey(int virtualKey, bool shift, bool ctrl);
