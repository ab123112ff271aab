#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

// zfl-tracks export: the tracks of a recording in the format its output's name ends in (.gpx,
// .kml, .csv or .acmi).
struct TracksExport {
    std::string input;               // a .zfl file
    std::string output;
    std::vector<std::size_t> tracks; // 0-based; empty: every track
};

// Says on `report` what was written. Throws TrackError, or ZephrelException from the recording;
// the output is then left as it was.
void exportTracks(const TracksExport& request, std::ostream& report);
// Whether the output's name ends in a format export writes.
bool isExportFormat(const std::string& output);
