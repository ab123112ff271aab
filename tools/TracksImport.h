#pragma once

#include <ostream>
#include <string>
#include <vector>

// zfl-tracks import: flight logs of other tools into one recording, a track for each log (each
// segment of a GPX file, each track of a KML file, each aircraft of an ACMI file).
struct TracksImport {
    std::vector<std::string> inputs;
    std::string output;     // a .zfl file
    std::string aircraft;   // the tracks' aircraft title; empty: the file's own, else the file's name
    std::string tailNumber; // empty: the file's own
    std::string format;     // "igc", "gpx", "kml", "csv" or "acmi"; empty: by each input's extension
};

bool isImportFormat(const std::string& format);

// Says on `report` what each input gave. Throws TrackError (naming the file and line), or
// ZephrelException from the recording file; the output then stays as it was (the recording takes
// its name only when whole).
void importTracks(const TracksImport& request, std::ostream& report);
