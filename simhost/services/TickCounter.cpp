#include "services/TickCounter.h"

#include <cmath>

namespace {
constexpr double kRounding = 1e-9; // of a tick
} // namespace

uint32_t TickCounter::add(double seconds) {
    fraction_ += seconds * ticksPerSecond_;
    const double whole = std::floor(fraction_ + kRounding);
    fraction_ -= whole;
    return static_cast<uint32_t>(whole);
}
