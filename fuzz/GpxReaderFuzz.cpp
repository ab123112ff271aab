// Fuzzes the GPX reader: any input is read segment by segment, point by point, to its end. A
// TrackError is the expected answer to a file that is no GPX; what is read must keep the reader's
// promises: times that advance within a track, places on the globe, finite elevations, and counts
// that add up. Anything else that escapes, a sanitizer report or a broken promise is a crash.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tracks/GpxReader.h"
#include "tracks/TrackError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        auto reader = GpxReader::openText(text, "fuzz.gpx");
        uint64_t kept = 0;
        while (reader->nextTrack()) {
            double last = -1e300;
            for (TrackPoint point; reader->next(point); ++kept) {
                if (!(point.time > last) || point.latitude < -90 || point.latitude > 90 ||
                    point.longitude < -180 || point.longitude > 180 || !std::isfinite(point.altitude))
                    std::abort();
                last = point.time;
            }
        }
        const ImportReport& report = reader->report();
        uint64_t skipped = 0;
        for (const ImportReport::Skip& skip : report.skips())
            skipped += skip.count;
        if (report.keptCount() != kept || skipped != report.skippedCount())
            std::abort();
    } catch (const TrackError&) {
    }
    return 0;
}
