#include "tracks/TrackText.h"
#include "tracks/TrackWriters.h"

void writeGpx(const TrackSet& tracks, std::ostream& out) {
    TextBlock text(out);
    text << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<gpx version=\"1.1\" creator=\"Zephrel zfl-tracks\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (std::size_t track = 0; track < tracks.count(); ++track) {
        text << "  <trk>\n    <name>" << xmlEscaped(tracks.title(track)) << "</name>\n    <trkseg>\n";
        const auto points = tracks.points(track, PointPart::All);
        for (TrackPoint point; points->next(point);) {
            text << "      <trkpt lat=\"";
            text.fixed(point.latitude, 8) << "\" lon=\"";
            text.fixed(point.longitude, 8) << "\"><ele>";
            text.fixed(point.altitude, 3) << "</ele><time>";
            text.isoTime(point.time) << "</time></trkpt>\n";
        }
        text << "    </trkseg>\n  </trk>\n";
    }
    text << "</gpx>\n";
    text.flush();
}
