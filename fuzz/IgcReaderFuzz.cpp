// Fuzzes the IGC flight-log reader: any input is read fix by fix to its end. A TrackError is the
// expected answer to a file that is no log; anything else that escapes, a sanitizer report or a
// broken promise of the reader is a crash.

#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/ReadTracks.h"
#include "tracks/IgcReader.h"
#include "tracks/TrackError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        IgcReader reader(in, "fuzz.igc");
        readTracks(reader);
    } catch (const TrackError&) {
    }
    return 0;
}
