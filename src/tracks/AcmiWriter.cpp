#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "tracks/TrackText.h"
#include "tracks/TrackWriters.h"

namespace {

// A property value as ACMI writes it: commas escaped, line breaks left out.
std::string acmiValue(const std::string& text) {
    std::string value;
    for (const char c : text) {
        if (c == ',' || c == '\\')
            value += '\\';
        if (c != '\n' && c != '\r')
            value += c;
    }
    return value;
}

std::string objectId(std::size_t track) {
    char text[24];
    std::snprintf(text, sizeof text, "%zx", track + 1);
    return text;
}

// A track being merged: its cursor and the point it will give next.
struct Stream {
    std::unique_ptr<PointCursor> cursor;
    TrackPoint point;
    bool more = false;
    bool introduced = false;
};

} // namespace

void writeAcmi(const TrackSet& tracks, std::ostream& out) {
    std::vector<Stream> streams(tracks.count());
    double start = INFINITY;
    for (std::size_t track = 0; track < streams.size(); ++track) {
        Stream& stream = streams[track];
        stream.cursor = tracks.points(track, PointPart::All);
        stream.more = stream.cursor->next(stream.point);
        if (stream.more)
            start = std::fmin(start, stream.point.time);
    }
    const double reference = std::isfinite(start) ? std::floor(start) : 0;
    TextBlock text(out);
    text << "FileType=text/acmi/tacview\nFileVersion=2.1\n0,ReferenceTime=";
    text.isoTime(reference) << "\n0,DataSource=Zephrel zfl-tracks\n";
    int64_t frame = -1; // the current frame's time in milliseconds after the reference
    while (true) {
        Stream* earliest = nullptr;
        for (Stream& stream : streams)
            if (stream.more && (earliest == nullptr || stream.point.time < earliest->point.time))
                earliest = &stream;
        if (earliest == nullptr)
            break;
        const auto track = static_cast<std::size_t>(earliest - streams.data());
        const TrackPoint& point = earliest->point;
        const int64_t time = std::llround((point.time - reference) * 1000);
        if (time != frame) {
            text << '#';
            text.fixed(static_cast<double>(time) / 1000, 3) << '\n';
            frame = time;
        }
        text << objectId(track) << ",T=";
        for (const auto& [value, decimals] : {std::pair{point.longitude, 8}, std::pair{point.latitude, 8},
                                              std::pair{point.altitude, 3}, std::pair{point.bank, 3},
                                              std::pair{point.pitch, 3}}) {
            text.fixed(value, decimals) << '|';
        }
        text.fixed(point.heading, 3);
        if (!earliest->introduced) {
            earliest->introduced = true;
            text << ",Type=Air+FixedWing,Name=" << acmiValue(tracks.title(track));
            const std::string tail = tracks.tailNumber(track);
            if (!tail.empty())
                text << ",Registration=" << acmiValue(tail);
        }
        text << '\n';
        earliest->more = earliest->cursor->next(earliest->point);
        if (!earliest->more)
            text << '-' << objectId(track) << '\n';
    }
    text.flush();
}
