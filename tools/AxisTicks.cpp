#include "tools/AxisTicks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

// A tick within this fraction of a step of a bound still counts as on it: the bounds are
// themselves products of steps and carry their rounding.
constexpr double kTolerance = 1e-9;
// No axis is drawn with more ticks than this, whatever it is asked.
constexpr int kMostTicks = 1000;

constexpr std::array<double, 18> kTimeSteps = {1,   2,   5,    10,   15,   30,    60,    120,   300,
                                               600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};

std::string clockText(long long minutes, long long seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", minutes, seconds);
    return text;
}

} // namespace

double roundStep(double span, int maxSteps) {
    if (!(span > 0) || !std::isfinite(span) || maxSteps < 1)
        return 1.0;
    const double smallest = span / maxSteps;
    const double power = std::pow(10.0, std::floor(std::log10(smallest)));
    for (double multiple : {1.0, 2.0, 5.0, 10.0, 20.0})
        if (multiple * power >= smallest * (1 - kTolerance))
            return multiple * power;
    return 20.0 * power;
}

double roundLengthAtMost(double limit) {
    if (!(limit > 0) || !std::isfinite(limit))
        return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(limit)));
    for (double multiple : {10.0, 5.0, 2.0, 1.0, 0.5})
        if (multiple * power <= limit * (1 + kTolerance))
            return multiple * power;
    return 0.5 * power;
}

RoundRange roundRange(double low, double high, int maxSteps) {
    if (!std::isfinite(low) || !std::isfinite(high) || !std::isfinite(high - low))
        return {0, 1, 1};
    if (high < low)
        std::swap(low, high);
    double step = roundStep(high - low, maxSteps);
    // Each pass takes a larger step; a few are enough for any range.
    for (int pass = 0;; ++pass) {
        RoundRange range{std::floor(low / step + kTolerance) * step,
                         std::ceil(high / step - kTolerance) * step, step};
        if (range.high <= range.low)
            range.high = range.low + step;
        // Widening to whole steps can add a step at each end; then a larger step is needed.
        if ((range.high - range.low) / step <= maxSteps + kTolerance || maxSteps < 1 || pass == 8)
            return range;
        step = roundStep(range.high - range.low, maxSteps);
    }
}

std::vector<AxisTick> valueTicks(double low, double high, double step) {
    std::vector<AxisTick> ticks;
    if (!(step > 0) || !(high >= low))
        return ticks;
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - kTolerance));
    for (double k = std::ceil(low / step - kTolerance); k * step <= high + step * kTolerance; ++k) {
        if (ticks.size() == kMostTicks)
            break;
        // Zero is labelled "0", never "-0".
        const double value = std::abs(k) < 0.5 ? 0.0 : k * step;
        char text[48];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        ticks.push_back({value, text});
    }
    return ticks;
}

TimeTicks timeTicks(double startSeconds, double endSeconds, int maxTicks) {
    const double span = std::max(endSeconds - startSeconds, 0.0);
    const int steps = std::max(maxTicks - 1, 1);
    double step = 0;
    for (double candidate : kTimeSteps) {
        if (span / candidate <= steps) {
            step = candidate;
            break;
        }
    }
    if (step == 0)
        step = roundStep(span / kTimeSteps.back(), steps) * kTimeSteps.back();

    TimeTicks result;
    result.unit = endSeconds >= 3600 ? "h:mm" : step >= 60 ? "min" : "m:ss";
    for (AxisTick& tick : valueTicks(startSeconds, endSeconds, step)) {
        const auto seconds = std::llround(tick.value);
        if (result.unit == "h:mm")
            tick.label = clockText(seconds / 3600, seconds / 60 % 60);
        else if (result.unit == "min")
            tick.label = std::to_string(seconds / 60);
        else
            tick.label = clockText(seconds / 60, seconds % 60);
        result.ticks.push_back(std::move(tick));
    }
    return result;
}

std::string durationText(double seconds) {
    const long long whole = std::llround(std::max(seconds, 0.0));
    if (whole < 3600)
        return clockText(whole / 60, whole % 60);
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    return text;
}
