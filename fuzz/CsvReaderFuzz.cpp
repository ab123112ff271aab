// Fuzzes the CSV flight-log reader: any input is read row by row to its end. A TrackError is the
// expected answer to a file that is no CSV log; what is read must keep the reader's promises:
// times that always advance, places on the globe, finite altitudes, attitudes in their ranges and
// counts that add up. Anything else that escapes, a sanitizer report or a broken promise is a crash.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tracks/CsvReader.h"
#include "tracks/TrackError.h"

namespace {

bool attitudeInRange(const TrackPoint& point) {
    return !point.hasAttitude || (point.pitch >= -90 && point.pitch <= 90 && point.bank >= -180 &&
                                  point.bank <= 180 && point.heading >= 0 && point.heading < 360);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        CsvReader reader(in, "fuzz.csv");
        uint64_t kept = 0;
        while (reader.nextTrack()) {
            double last = -1e300;
            for (TrackPoint point; reader.next(point); ++kept) {
                if (!(point.time > last) || point.latitude < -90 || point.latitude > 90 ||
                    point.longitude < -180 || point.longitude > 180 || !std::isfinite(point.altitude) ||
                    !attitudeInRange(point))
                    std::abort();
                last = point.time;
            }
        }
        const ImportReport& report = reader.report();
        uint64_t skipped = 0;
        for (const ImportReport::Skip& skip : report.skips())
            skipped += skip.count;
        if (report.keptCount() != kept || report.readCount() < kept || skipped != report.skippedCount())
            std::abort();
    } catch (const TrackError&) {
    }
    return 0;
}
