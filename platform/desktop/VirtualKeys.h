#pragma once

#include <string>

// The original's virtual-key code of a key on the keyboard, as GDK names the key without Shift
// (its keyval with no modifier applied); 0 for a key the original has no code for.
namespace desktop {

int virtualKeyOf(unsigned keyval);

// How a hot-key field names the key: "R", "F5", "Num 7", "Home", "Page Up"; "Key 0xNN" for others.
std::string keyName(int virtualKey);

} // namespace desktop
