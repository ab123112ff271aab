#pragma once

#include "host/hostabi.h"

// The frame time of the simulation, measured each frame from the clock of the user aircraft's
// main simulation group in the host's group table.
class FrameClock {
public:
    // older: the host is one of the older versions (group "SimGroupUser", clock at byte 20);
    // newer hosts name the group by aircraft kind and keep the clock at byte 28. A missing table
    // or group leaves the frame time as it was; the first reading only primes the clock.
    void measure(const ZHostSimGroupTable* table, bool olderHost, bool helicopter, bool paused);

    // Seconds, 0 to 10.
    double frameTime() const { return frameTime_; }

private:
    const ZHostSimGroup* group(const ZHostSimGroupTable& table, const char* name);

    int cachedIndex_ = 0;
    bool seen_ = false;
    double lastClock_ = 0;
    double frameTime_ = 0;
};
