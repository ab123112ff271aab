#pragma once

// What every track reader promises of any input it does not refuse: within a track, times that
// advance; places on the globe; finite altitudes and attitudes, the heading within 0..360; and
// counts that add up. A broken promise aborts, which the fuzzer reports as a crash.

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "tracks/TrackSource.h"

inline void readTracks(TrackSource& source) {
    const auto require = [](bool condition) {
        if (!condition)
            std::abort();
    };
    uint64_t kept = 0;
    while (source.nextTrack()) {
        double last = -1e300;
        for (TrackPoint point; source.next(point); ++kept) {
            require(point.time > last && std::isfinite(point.time));
            require(point.latitude >= -90 && point.latitude <= 90);
            require(point.longitude >= -180 && point.longitude <= 180);
            require(std::isfinite(point.altitude));
            require(!point.hasAttitude || (std::isfinite(point.pitch) && std::isfinite(point.bank) &&
                                           point.heading >= 0 && point.heading < 360));
            last = point.time;
        }
    }
    const ImportReport& report = source.report();
    uint64_t skipped = 0;
    for (const ImportReport::Skip& skip : report.skips())
        skipped += skip.count;
    require(report.keptCount() == kept && report.readCount() >= kept && skipped == report.skippedCount());
}
