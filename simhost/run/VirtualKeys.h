#pragma once

#include <optional>
#include <string_view>

// A virtual-key code by its name without the VK_ prefix, without regard to case: letters A..Z,
// digits 0..9, F1..F24, NUMPAD0..NUMPAD9, the named keys of the table (SPACE, ESCAPE, RETURN,
// LEFT, ...), or a code in hexadecimal ("0x41", 0x01..0xFE). nullopt for anything else.
std::optional<int> parseVirtualKey(std::string_view name);
