#pragma once

#include <cstdint>

// A controller operation called in a state that forbids it: "Invalid call", code 16, severity 0.
[[noreturn]] void invalidCall(const char* function, uint32_t line);
