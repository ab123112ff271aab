#include "tracks/TrackText.h"
#include "tracks/TrackWriters.h"

namespace {

// A field as CSV quotes it where it holds a comma, a quote or a line break.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

void writeCsv(const TrackSet& tracks, std::ostream& out) {
    TextBlock text(out);
    text << "track number,aircraft,registration,time,latitude,longitude,altitude (m),pitch,roll,heading\n";
    for (std::size_t track = 0; track < tracks.count(); ++track) {
        const std::string lead = std::to_string(track + 1) + "," + csvField(tracks.title(track)) + "," +
                                 csvField(tracks.tailNumber(track)) + ",";
        const auto points = tracks.points(track, PointPart::All);
        for (TrackPoint point; points->next(point);) {
            text << lead;
            text.isoTime(point.time);
            for (const auto& [value, decimals] : {std::pair{point.latitude, 8}, std::pair{point.longitude, 8},
                                                  std::pair{point.altitude, 3}, std::pair{point.pitch, 3},
                                                  std::pair{point.bank, 3}, std::pair{point.heading, 3}}) {
                text << ',';
                text.fixed(value, decimals);
            }
            text << '\n';
        }
    }
    text.flush();
}
