#include "tools/TracksImport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>

#include "text/AsciiCase.h"
#include "tracks/AcmiReader.h"
#include "tracks/CsvReader.h"
#include "tracks/GpxReader.h"
#include "tracks/IgcReader.h"
#include "tracks/KmlReader.h"
#include "tracks/PathMotion.h"
#include "tracks/TrackError.h"
#include "tracks/TrackRecording.h"

namespace {

namespace fs = std::filesystem;

// One input, opened as its format says.
struct Input {
    std::ifstream stream; // what the line-based formats are read from
    std::unique_ptr<TrackSource> source;
};

std::unique_ptr<Input> open(const std::string& path, const std::string& format) {
    const std::string extension = lowerAscii(fs::path(path).extension().string());
    const std::string kind = !format.empty() ? format : extension.empty() ? extension : extension.substr(1);
    if (!isImportFormat(kind))
        throw TrackError(path, 0,
                         "zfl-tracks reads IGC, GPX, KML, CSV and ACMI files (.igc, .gpx, .kml, .csv, .acmi), "
                         "and this is none of them");
    auto input = std::make_unique<Input>();
    if (kind == "gpx") {
        input->source = GpxReader::openFile(path);
        return input;
    }
    if (kind == "kml") {
        input->source = KmlReader::openFile(path);
        return input;
    }
    input->stream.open(path, std::ios::binary);
    if (!input->stream || fs::is_directory(path))
        throw TrackError(path, 0, "the file cannot be opened");
    if (kind == "igc")
        input->source = std::make_unique<IgcReader>(input->stream, path);
    else if (kind == "csv")
        input->source = std::make_unique<CsvReader>(input->stream, path);
    else
        input->source = std::make_unique<AcmiReader>(input->stream, path);
    return input;
}

// The time of the input's first point, or of its earliest when `whole`: where the recording's
// clock may start.
double firstTime(const std::string& path, const std::string& format, bool whole) {
    const auto input = open(path, format);
    double first = std::numeric_limits<double>::infinity();
    TrackPoint point;
    const auto more = [&] { return whole || first == std::numeric_limits<double>::infinity(); };
    while (more() && input->source->nextTrack())
        while (more() && input->source->next(point))
            first = std::min(first, point.time);
    if (first == std::numeric_limits<double>::infinity())
        throw TrackError(path, 0, "the file holds no point to import");
    return first;
}

// The motion through each point from the path; the attitude the log gives, where it gives one.
void importTrack(TrackRecording& recording, TrackSource& source) {
    PathMotion motion;
    const auto add = [&](const TrackPoint& point, const Motion& moving) {
        if (!point.hasAttitude) {
            recording.add(point, moving);
            return;
        }
        Motion logged = moving;
        logged.pitch = point.pitch;
        logged.bank = point.bank;
        logged.heading = point.heading;
        recording.add(point, logged);
    };
    for (TrackPoint point; source.next(point);) {
        motion.add(point);
        motion.takeEach(add);
    }
    motion.finish();
    motion.takeEach(add);
}

void importOne(TrackRecording& recording, const std::string& path, const TracksImport& request,
               std::ostream& report) {
    const auto input = open(path, request.format);
    TrackSource& source = *input->source;
    for (int track = 1; source.nextTrack(); ++track) {
        const std::string named =
            fs::path(path).stem().string() + (track > 1 ? " " + std::to_string(track) : "");
        const std::string type = source.aircraftType();
        recording.beginTrack(!request.aircraft.empty() ? request.aircraft
                             : !type.empty()           ? type
                                                       : named,
                             !request.tailNumber.empty() ? request.tailNumber : source.registration());
        importTrack(recording, source);
        recording.endTrack();
    }
    report << source.report().text(path);
}

} // namespace

bool isImportFormat(const std::string& format) {
    return format == "igc" || format == "gpx" || format == "kml" || format == "csv" || format == "acmi";
}

void importTracks(const TracksImport& request, std::ostream& report) {
    // The recording's clock starts at the earliest point. A log's first point is nearly always its
    // earliest, so only the first ones are looked at; where a later track starts earlier still,
    // every input is read through once for the earliest, and the import starts again.
    const auto start = [&](bool whole) {
        double earliest = std::numeric_limits<double>::infinity();
        for (const std::string& input : request.inputs)
            earliest = std::min(earliest, firstTime(input, request.format, whole));
        return earliest;
    };
    const auto import = [&](double from) {
        std::ostringstream said;
        TrackRecording recording(request.output, from);
        for (const std::string& input : request.inputs)
            importOne(recording, input, request, said);
        recording.close();
        report << said.str();
    };
    try {
        import(start(false));
    } catch (const TrackRecording::BeforeStart&) {
        import(start(true));
    }
}
