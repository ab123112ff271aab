#include "tracks/TrackText.h"
#include "tracks/TrackWriters.h"

namespace {

// Three numbers of a track's points as one KML element per point: "<gx:coord>lon lat alt</gx:coord>".
template <typename Numbers>
void writeList(const TrackSet& tracks, std::size_t track, std::string& text, std::ostream& out,
               const char* element, Numbers numbers) {
    const std::string open = std::string("        <") + element + ">";
    const std::string close = std::string("</") + element + ">\n";
    TrackPoint point;
    for (auto points = tracks.points(track); points->next(point);) {
        text += open;
        numbers(point);
        text += close;
        flushText(text, out);
    }
}

} // namespace

void writeKml(const TrackSet& tracks, std::ostream& out) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
                       "  <Document>\n"
                       "    <name>Zephrel recording</name>\n"
                       "    <Style id=\"path\"><LineStyle><color>ff00aaff</color><width>3</width></LineStyle></Style>\n";
    const auto three = [&text](double a, int aDecimals, double b, int bDecimals, double c) {
        appendFixed(text, a, aDecimals);
        text += ' ';
        appendFixed(text, b, bDecimals);
        text += ' ';
        appendFixed(text, c, 3);
    };
    for (std::size_t track = 0; track < tracks.count(); ++track) {
        text += "    <Placemark>\n      <name>" + xmlEscaped(tracks.title(track)) + "</name>\n";
        const std::string tail = tracks.tailNumber(track);
        if (!tail.empty())
            text += "      <description>" + xmlEscaped(tail) + "</description>\n";
        text += "      <styleUrl>#path</styleUrl>\n      <gx:Track>\n        <altitudeMode>absolute</altitudeMode>\n";
        writeList(tracks, track, text, out, "when", [&](const TrackPoint& point) { appendIsoTime(text, point.time); });
        writeList(tracks, track, text, out, "gx:coord", [&](const TrackPoint& point) {
            three(point.longitude, 8, point.latitude, 8, point.altitude);
        });
        writeList(tracks, track, text, out, "gx:angles", [&](const TrackPoint& point) {
            three(point.heading, 3, point.pitch, 3, point.bank);
        });
        text += "      </gx:Track>\n    </Placemark>\n";
    }
    text += "  </Document>\n</kml>\n";
    flushText(text, out, true);
}
