#include "tracks/TrackText.h"
#include "tracks/TrackWriters.h"

void writeGpx(const TrackSet& tracks, std::ostream& out) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<gpx version=\"1.1\" creator=\"Zephrel zfl-tracks\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (std::size_t track = 0; track < tracks.count(); ++track) {
        text += "  <trk>\n    <name>" + xmlEscaped(tracks.title(track)) + "</name>\n    <trkseg>\n";
        const auto points = tracks.points(track);
        for (TrackPoint point; points->next(point);) {
            text += "      <trkpt lat=\"";
            appendFixed(text, point.latitude, 8);
            text += "\" lon=\"";
            appendFixed(text, point.longitude, 8);
            text += "\"><ele>";
            appendFixed(text, point.altitude, 3);
            text += "</ele><time>";
            appendIsoTime(text, point.time);
            text += "</time></trkpt>\n";
            flushText(text, out);
        }
        text += "    </trkseg>\n  </trk>\n";
    }
    text += "</gpx>\n";
    flushText(text, out, true);
}
