// Fuzzes the Tacview ACMI text reader: any input is read aircraft by aircraft, point by point, to
// its end, each track a pass of its own over the input. A TrackError is the expected answer to a
// file that is no ACMI 2.x text; anything else that escapes, a sanitizer report or a broken promise
// of the reader is a crash.

#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/ReadTracks.h"
#include "tracks/AcmiReader.h"
#include "tracks/TrackError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        AcmiReader reader(in, "fuzz.acmi");
        readTracks(reader);
    } catch (const TrackError&) {
    }
    return 0;
}
