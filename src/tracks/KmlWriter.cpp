#include "tracks/TrackText.h"
#include "tracks/TrackWriters.h"

namespace {

// One KML element per point of a track, "<gx:coord>lon lat alt</gx:coord>", its tags `open` and
// `close` (literals, copied inline), its content written by `content` from the point's `part`.
template <typename Content>
void writeList(const TrackSet& tracks, std::size_t track, unsigned part, TextBlock& text, std::string_view open,
               std::string_view close, Content content) {
    TrackPoint point;
    for (auto points = tracks.points(track, part); points->next(point);) {
        text << open;
        content(point);
        text << close;
    }
}

} // namespace

void writeKml(const TrackSet& tracks, std::ostream& out) {
    TextBlock text(out);
    text << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
            "  <Document>\n"
            "    <name>Zephrel recording</name>\n"
            "    <Style id=\"path\"><LineStyle><color>ff00aaff</color><width>3</width></LineStyle></Style>\n";
    for (std::size_t track = 0; track < tracks.count(); ++track) {
        text << "    <Placemark>\n      <name>" << xmlEscaped(tracks.title(track)) << "</name>\n";
        const std::string tail = tracks.tailNumber(track);
        if (!tail.empty())
            text << "      <description>" << xmlEscaped(tail) << "</description>\n";
        text << "      <styleUrl>#path</styleUrl>\n      <gx:Track>\n        "
                "<altitudeMode>absolute</altitudeMode>\n";
        writeList(tracks, track, PointPart::Time, text, "        <when>", "</when>\n",
                  [&](const TrackPoint& point) { text.isoTime(point.time); });
        writeList(tracks, track, PointPart::Place, text, "        <gx:coord>", "</gx:coord>\n",
                  [&](const TrackPoint& point) {
                      text.fixed(point.longitude, 8) << ' ';
                      text.fixed(point.latitude, 8) << ' ';
                      text.fixed(point.altitude, 3);
                  });
        writeList(tracks, track, PointPart::Attitude, text, "        <gx:angles>", "</gx:angles>\n",
                  [&](const TrackPoint& point) {
                      text.fixed(point.heading, 3) << ' ';
                      text.fixed(point.pitch, 3) << ' ';
                      text.fixed(point.bank, 3);
                  });
        text << "      </gx:Track>\n    </Placemark>\n";
    }
    text << "  </Document>\n</kml>\n";
    text.flush();
}
