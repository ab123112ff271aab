#pragma once

// Fields of the packed file records may sit at unaligned addresses, and the test macros take
// their arguments by reference: compare copies instead.
template <typename T> T copyOf(T value) { return value; }
