#pragma once

// The original's virtual-key code of a key on the keyboard, as GDK names the key without Shift
// (its keyval with no modifier applied); 0 for a key the original has no code for.
namespace desktop {

int virtualKeyOf(unsigned keyval);

} // namespace desktop
