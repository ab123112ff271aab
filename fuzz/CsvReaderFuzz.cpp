// Fuzzes the CSV flight-log reader: any input is read track by track, row by row, to its end. A
// TrackError is the expected answer to a file that is no CSV log; anything else that escapes, a
// sanitizer report or a broken promise of the reader is a crash.

#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/ReadTracks.h"
#include "tracks/CsvReader.h"
#include "tracks/TrackError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        CsvReader reader(in, "fuzz.csv");
        readTracks(reader);
    } catch (const TrackError&) {
    }
    return 0;
}
