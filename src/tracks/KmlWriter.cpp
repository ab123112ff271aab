#include "tracks/TrackText.h"
#include "tracks/TrackWriters.h"

void writeKml(const TrackSet& tracks, std::ostream& out) {
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
           "  <Document>\n"
           "    <name>Zephrel recording</name>\n"
           "    <Style id=\"path\"><LineStyle><color>ff00aaff</color><width>3</width></LineStyle></Style>\n";
    for (std::size_t track = 0; track < tracks.count(); ++track) {
        out << "    <Placemark>\n      <name>" << xmlEscaped(tracks.title(track)) << "</name>\n";
        const std::string tail = tracks.tailNumber(track);
        if (!tail.empty())
            out << "      <description>" << xmlEscaped(tail) << "</description>\n";
        out << "      <styleUrl>#path</styleUrl>\n      <gx:Track>\n        <altitudeMode>absolute</altitudeMode>\n";
        TrackPoint point;
        for (auto points = tracks.points(track); points->next(point);)
            out << "        <when>" << isoTimeText(point.time) << "</when>\n";
        for (auto points = tracks.points(track); points->next(point);)
            out << "        <gx:coord>" << degreesText(point.longitude) << ' ' << degreesText(point.latitude) << ' '
                << millesimalText(point.altitude) << "</gx:coord>\n";
        for (auto points = tracks.points(track); points->next(point);)
            out << "        <gx:angles>" << millesimalText(point.heading) << ' ' << millesimalText(point.pitch) << ' '
                << millesimalText(point.bank) << "</gx:angles>\n";
        out << "      </gx:Track>\n    </Placemark>\n";
    }
    out << "  </Document>\n</kml>\n";
}
