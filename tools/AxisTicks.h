#pragma once

#include <string>
#include <vector>

// Where a chart's axis gets its labelled ticks: at round values, so that a reader takes a value
// off the chart at a glance.
struct AxisTick {
    double value;
    std::string label;
};

// The smallest step of 1, 2 or 5 times a power of ten that divides `span` into at most
// `maxSteps` steps.
double roundStep(double span, int maxSteps);

// The largest length of 1, 2 or 5 times a power of ten that is not above `limit` (> 0).
double roundLengthAtMost(double limit);

// The range [low, high] widened outwards to multiples of a round step, so that the axis begins and
// ends on a tick; at most `maxSteps` steps between them.
struct RoundRange {
    double low;
    double high;
    double step;
};
RoundRange roundRange(double low, double high, int maxSteps);

// Ticks at every multiple of `step` within [low, high], labelled with as many decimals as the
// step needs.
std::vector<AxisTick> valueTicks(double low, double high, double step);

// Ticks of a time axis over [startSeconds, endSeconds] at round times (15 s, 30 s, 1, 2, 5, 10,
// 15, 30 minutes, 1, 2, 3, 6, 12 hours...), at most `maxTicks` of them. Under an hour they are
// labelled in minutes ("m:ss" where a step is shorter than a minute), from an hour on as "h:mm".
struct TimeTicks {
    std::vector<AxisTick> ticks;
    std::string unit; // "min", "m:ss" or "h:mm"
};
TimeTicks timeTicks(double startSeconds, double endSeconds, int maxTicks);

// A duration as "m:ss", or "h:mm:ss" from an hour on.
std::string durationText(double seconds);
