// Fuzzes the IGC flight-log reader: any input is read fix by fix to its end. A TrackError is the
// expected answer to a file that is no log; what is read must keep the reader's promises: times
// that always advance, places on the globe, and counts that add up. Anything else that escapes,
// a sanitizer report or a broken promise is a crash.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tracks/IgcReader.h"
#include "tracks/TrackError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        IgcReader reader(in, "fuzz.igc");
        TrackPoint point;
        double last = -1e300;
        uint64_t kept = 0;
        while (reader.next(point)) {
            ++kept;
            if (!(point.time > last) || point.latitude < -90 || point.latitude > 90 ||
                point.longitude < -180 || point.longitude > 180)
                std::abort();
            last = point.time;
        }
        const ImportReport& report = reader.report();
        if (report.keptCount() != kept || report.readCount() < kept)
            std::abort();
        uint64_t skipped = 0;
        for (const ImportReport::Skip& skip : report.skips())
            skipped += skip.count;
        if (skipped != report.skippedCount())
            std::abort();
    } catch (const TrackError&) {
    }
    return 0;
}
