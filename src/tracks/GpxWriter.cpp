#include "tracks/TrackText.h"
#include "tracks/TrackWriters.h"

void writeGpx(const TrackSet& tracks, std::ostream& out) {
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"Zephrel zfl-tracks\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (std::size_t track = 0; track < tracks.count(); ++track) {
        out << "  <trk>\n    <name>" << xmlEscaped(tracks.title(track)) << "</name>\n    <trkseg>\n";
        const auto points = tracks.points(track);
        for (TrackPoint point; points->next(point);)
            out << "      <trkpt lat=\"" << degreesText(point.latitude) << "\" lon=\""
                << degreesText(point.longitude) << "\"><ele>" << millesimalText(point.altitude)
                << "</ele><time>" << isoTimeText(point.time) << "</time></trkpt>\n";
        out << "    </trkseg>\n  </trk>\n";
    }
    out << "</gpx>\n";
}
