#pragma once

#include <gdk/gdk.h>

#include <string>

// The original's virtual-key code of a key on the keyboard, as GDK names the key without Shift
// (its keyval with no modifier applied); 0 for a key the original has no code for.
namespace desktop {

int virtualKeyOf(unsigned keyval);
// The key of a key event, whatever Shift or Num Lock made of it.
int virtualKeyOf(const GdkEventKey& event);

// How a hot-key field names the key: "R", "F5", "Num 7", "Home", "Page Up"; "Key 0xNN" for others.
std::string keyName(int virtualKey);

} // namespace desktop
