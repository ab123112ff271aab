#pragma once

#include <cstdint>

// Counts time in the host's whole ticks (18 a second for the accumulated time and the message
// line). Frame steps such as 1/30 s do not add up exactly in binary, so a tick that is complete
// but for rounding counts as complete.
class TickCounter {
public:
    static constexpr double kHostTicksPerSecond = 18;

    explicit TickCounter(double ticksPerSecond = kHostTicksPerSecond) : ticksPerSecond_(ticksPerSecond) {}

    // The ticks that `seconds` more complete.
    uint32_t add(double seconds);
    void reset() { fraction_ = 0; }

private:
    double ticksPerSecond_;
    double fraction_ = 0;
};
