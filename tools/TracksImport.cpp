#include "tools/TracksImport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>

#include "text/AsciiCase.h"
#include "tracks/IgcReader.h"
#include "tracks/PathMotion.h"
#include "tracks/TrackError.h"
#include "tracks/TrackRecording.h"

namespace {

namespace fs = std::filesystem;

// One input, opened and its header read.
struct Input {
    std::ifstream stream;
    std::unique_ptr<IgcReader> reader;
};

std::unique_ptr<Input> open(const std::string& path, const std::string& format) {
    const std::string kind = format.empty() ? lowerAscii(fs::path(path).extension().string()) : "." + format;
    if (kind != ".igc")
        throw TrackError(path, 0,
                         "zfl-tracks reads IGC flight logs (.igc), and this is not one" +
                             (format.empty() ? std::string() : " (--format " + format + ")"));
    auto input = std::make_unique<Input>();
    input->stream.open(path, std::ios::binary);
    if (!input->stream)
        throw TrackError(path, 0, "the file cannot be opened");
    input->reader = std::make_unique<IgcReader>(input->stream, path);
    return input;
}

// The first point's time: the recording's tracks count from the earliest of them.
double firstTime(const std::string& path, const std::string& format) {
    const auto input = open(path, format);
    TrackPoint first;
    if (!input->reader->next(first))
        throw TrackError(path, 0, "the file holds no fix to import");
    return first.time;
}

void importOne(TrackRecording& recording, const std::string& path, const TracksImport& request,
               std::ostream& report) {
    const auto input = open(path, request.format);
    IgcReader& reader = *input->reader;
    const std::string title = !request.aircraft.empty()        ? request.aircraft
                              : !reader.aircraftType().empty() ? reader.aircraftType()
                                                               : fs::path(path).stem().string();
    recording.beginTrack(title, !request.tailNumber.empty() ? request.tailNumber : reader.registration());
    PathMotion motion;
    TrackPoint point;
    Motion moving;
    while (reader.next(point)) {
        motion.add(point);
        while (motion.take(point, moving))
            recording.add(point, moving);
    }
    motion.finish();
    while (motion.take(point, moving))
        recording.add(point, moving);
    recording.endTrack();
    report << reader.report().text(path);
}

} // namespace

void importTracks(const TracksImport& request, std::ostream& report) {
    double start = std::numeric_limits<double>::infinity();
    for (const std::string& input : request.inputs)
        start = std::min(start, firstTime(input, request.format));
    TrackRecording recording(request.output, start);
    for (const std::string& input : request.inputs)
        importOne(recording, input, request, report);
    recording.close();
}
