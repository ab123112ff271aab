#include "tools/TracksExport.h"

#include <filesystem>
#include <fstream>

#include "text/AsciiCase.h"
#include "tools/RecordingTracks.h"
#include "tools/StagedFile.h"
#include "tracks/TrackError.h"
#include "tracks/TrackWriters.h"

namespace {

using Writer = void (*)(const TrackSet&, std::ostream&);

Writer writerFor(const std::string& output) {
    const std::string kind = lowerAscii(std::filesystem::path(output).extension().string());
    return kind == ".gpx"    ? writeGpx
           : kind == ".kml"  ? writeKml
           : kind == ".csv"  ? writeCsv
           : kind == ".acmi" ? writeAcmi
                             : nullptr;
}

} // namespace

bool isExportFormat(const std::string& output) {
    return writerFor(output) != nullptr;
}

void exportTracks(const TracksExport& request, std::ostream& report) {
    const Writer write = writerFor(request.output);
    if (write == nullptr)
        throw TrackError(request.output, 0, "zfl-tracks writes GPX, KML, CSV and ACMI files, and this is none");
    const RecordingTracks tracks(request.input, request.tracks);
    StagedFile staged(request.output);
    std::ofstream out(staged.partPath(), std::ios::binary | std::ios::trunc);
    if (!out)
        throw TrackError(request.output, 0, "the file cannot be written");
    write(tracks, out);
    out.close();
    if (!out)
        throw TrackError(request.output, 0, "the file cannot be written (is the disk full?)");
    staged.commit();
    if (!tracks.dated())
        report << "the recording does not say which day it was flown: its times count from 2000-01-01\n";
    report << "wrote " << tracks.count() << (tracks.count() == 1 ? " track" : " tracks") << " to "
           << request.output << '\n';
}
