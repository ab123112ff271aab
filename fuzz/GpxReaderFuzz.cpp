// Fuzzes the GPX reader: any input is read segment by segment, point by point, to its end. A
// TrackError is the expected answer to a file that is no GPX; anything else that escapes, a
// sanitizer report or a broken promise of the reader is a crash.

#include <cstdint>
#include <string_view>

#include "fuzz/ReadTracks.h"
#include "tracks/GpxReader.h"
#include "tracks/TrackError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        readTracks(*GpxReader::openText(text, "fuzz.gpx"));
    } catch (const TrackError&) {
    }
    return 0;
}
