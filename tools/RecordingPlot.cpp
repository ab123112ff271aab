#include "tools/RecordingPlot.h"

#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "common/Marker.h"
#include "common/ZflFile.h"
#include "tools/AxisTicks.h"
#include "tools/PlotCanvas.h"
#include "tools/PlotText.h"
#include "tools/StagedFile.h"
#include "tools/TrackSeries.h"

namespace fs = std::filesystem;

namespace {

// More tracks than this would make a legend too long to read; the others are named in one line.
constexpr uint32_t kMostTracksDrawn = 10;
constexpr uint32_t kMostMapPoints = 4000;
constexpr std::size_t kLongestTitle = 52;
constexpr std::size_t kLongestMarkerName = 40;

constexpr std::array<PlotColour, 6> kLighterColours = {
    PlotColour{110, 160, 225}, PlotColour{120, 195, 120}, PlotColour{235, 165, 80},
    PlotColour{180, 140, 215}, PlotColour{100, 195, 200}, PlotColour{225, 140, 180},
};

struct DrawnTrack {
    uint32_t index;
    std::string title;
    PlotColour colour;
    bool marked;
    std::unique_ptr<TrackSeries> series; // null: the track has no records
};

struct NamedMarker {
    Ticks time;
    std::string name;
};

// The tracks asked for, with a picture's worth of their records.
std::vector<DrawnTrack> readTracks(ZflFile& file, uint32_t first, uint32_t end, const PlotLayout& layout,
                                   const std::vector<Ticks>& markerTimes) {
    std::vector<DrawnTrack> tracks;
    for (uint32_t t = first; t < end; ++t) {
        const TrackInfo& info = file.getTrackInfo(t);
        DrawnTrack track{
            t, drawableText(std::string(info.title, strnlen(info.title, sizeof info.title)), kLongestTitle),
            t == first ? kMarkedTrackColour : kLighterColours[(t - first - 1) % kLighterColours.size()],
            t == first, nullptr};
        if (info.nCont > 0) {
            track.series =
                std::make_unique<TrackSeries>(layout.startTime, layout.endTime,
                                              static_cast<uint32_t>(layout.altitude.width), kMostMapPoints);
            // Only the marked track's positions at the markers are shown.
            track.series->read(file, t, track.marked ? markerTimes : std::vector<Ticks>{});
        }
        tracks.push_back(std::move(track));
    }
    return tracks;
}

// The panels' places for a picture of the given size and number of legend lines.
PlotLayout panels(int width, int height, std::size_t legendLines) {
    const double top = 64, gap = 66, bottom = 50, chartLeft = 92;
    const double chartRight = std::round(width * 0.60);
    const double chartsHeight = height - top - gap - bottom;
    const double altitudeHeight = std::round(chartsHeight * 0.55);
    PlotLayout layout{};
    layout.altitude = {chartLeft, top, chartRight - chartLeft, altitudeHeight};
    layout.speed = {chartLeft, top + altitudeHeight + gap, chartRight - chartLeft,
                    chartsHeight - altitudeHeight};
    const double mapLeft = chartRight + 56;
    const double legendHeight = 24.0 * static_cast<double>(legendLines) + 20;
    layout.map = {mapLeft, top, width - mapLeft - 24, std::max(height - top - 20 - legendHeight, 100.0)};
    return layout;
}

void setValueRanges(PlotLayout& layout, const std::vector<DrawnTrack>& tracks) {
    double lowest = INFINITY, highest = -INFINITY, fastest = 0;
    for (const DrawnTrack& track : tracks) {
        if (!track.series)
            continue;
        for (const ChartColumn& column : track.series->altitudeFeet()) {
            if (column.count > 0) {
                lowest = std::min(lowest, column.low);
                highest = std::max(highest, column.high);
            }
        }
        for (const ChartColumn& column : track.series->speedKnots())
            if (column.count > 0)
                fastest = std::max(fastest, column.mean());
    }
    // A level flight is drawn in the middle of a range of a hundred feet.
    if (highest - lowest < 100) {
        lowest = (lowest + highest) / 2 - 50;
        highest = lowest + 100;
    }
    // Room above the highest value for the markers' names, and a flat line off the frame.
    const double span = highest - lowest;
    const double padded = lowest >= 0 ? std::max(lowest - 0.05 * span, 0.0) : lowest - 0.05 * span;
    const RoundRange altitude =
        roundRange(padded, lowest + span * 1.12, static_cast<int>(layout.altitude.height / 50));
    layout.lowestFeet = altitude.low;
    layout.highestFeet = altitude.high;
    layout.feetPerTick = altitude.step;
    const RoundRange speed =
        roundRange(0, std::max(fastest * 1.1, 10.0), static_cast<int>(layout.speed.height / 50));
    layout.lowestKnots = speed.low;
    layout.highestKnots = speed.high;
    layout.knotsPerTick = speed.step;
}

// The map's edges: every track's positions, with a margin, at one scale in both directions.
void setMapExtent(PlotLayout& layout, const std::vector<DrawnTrack>& tracks, double reference) {
    double south = INFINITY, north = -INFINITY, west = INFINITY, east = -INFINITY;
    for (const DrawnTrack& track : tracks) {
        if (!track.series)
            continue;
        const double shift = wrappedLongitude(track.series->referenceLongitude() - reference);
        south = std::min(south, track.series->south());
        north = std::max(north, track.series->north());
        west = std::min(west, track.series->west() + shift);
        east = std::max(east, track.series->east() + shift);
    }
    const double middle = (south + north) / 2;
    const double shrink = std::max(std::cos(std::clamp(middle, -89.0, 89.0) * M_PI / 180), 0.01);
    const PlotRect& map = layout.map;
    // Degrees of latitude per pixel; a map shows at least about half a kilometre.
    const double perPixel =
        std::max({(north - south) / (map.height * 0.9), (east - west) * shrink / (map.width * 0.9),
                  0.005 / std::min(map.width, map.height)});
    const double centreLongitude = reference + (west + east) / 2;
    layout.south = middle - perPixel * map.height / 2;
    layout.north = middle + perPixel * map.height / 2;
    layout.west = centreLongitude - perPixel * map.width / 2 / shrink;
    layout.east = centreLongitude + perPixel * map.width / 2 / shrink;
}

std::vector<NamedMarker> readMarkers(ZflFile& file) {
    std::vector<NamedMarker> markers;
    for (uint32_t m = 0; m < file.getNMarkers(); ++m) {
        const Marker marker = file.readMarker(m);
        std::string name = drawableText(marker.text, kLongestMarkerName);
        markers.push_back({marker.time, name.empty() ? "marker " + std::to_string(m + 1) : name});
    }
    std::stable_sort(markers.begin(), markers.end(), [](auto& a, auto& b) { return a.time < b.time; });
    return markers;
}

std::string titleLine(const std::string& recording, const PlotLayout& layout, uint32_t nTracks,
                      uint32_t track) {
    std::string line = fs::path(recording).filename().string() + "  \u2014  duration " +
                       durationText((layout.endTime - layout.startTime) / double{kTicksPerSecond}) +
                       "  \u2014  ";
    if (track != 0)
        return line + "track " + std::to_string(track) + " of " + std::to_string(nTracks);
    return line + std::to_string(nTracks) + (nTracks == 1 ? " track" : " tracks");
}

// The picture takes the output's name only once written whole.
void writeWhole(cairo_surface_t* surface, const std::string& output) {
    StagedFile staged(output);
    const cairo_status_t status = cairo_surface_write_to_png(surface, staged.partPath().c_str());
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("'" + output + "' could not be written: " + cairo_status_to_string(status));
    staged.commit();
}

} // namespace

PlotLayout plotRecording(const std::string& recording, const std::string& output,
                         const PlotOptions& options) {
    if (ZflFile::checkOldVersion(recording))
        throw std::runtime_error(
            "a first-generation recording: convert it to the current format before plotting it");
    ZflFile file;
    file.open(recording, ZflFile::Read);
    const uint32_t nTracks = file.getNTracks();
    if (options.track > nTracks)
        throw std::runtime_error("there is no track " + std::to_string(options.track) +
                                 ": the recording has " + std::to_string(nTracks) +
                                 (nTracks == 1 ? " track" : " tracks"));

    // The tracks drawn are [first, end). The time axis spans their records.
    const uint32_t first = options.track == 0 ? 0 : options.track - 1;
    const uint32_t end = options.track == 0 ? std::min(nTracks, kMostTracksDrawn) : options.track;
    Ticks startTime = UINT32_MAX, endTime = 0;
    bool anyRecords = false;
    for (uint32_t t = first; t < end; ++t) {
        if (file.getTrackInfo(t).nCont > 0) {
            const Ticks trackStart = file.getStartTime(t), trackEnd = file.getEndTime(t);
            anyRecords = true;
            startTime = std::min({startTime, trackStart, trackEnd});
            endTime = std::max({endTime, trackStart, trackEnd});
        }
    }
    if (!anyRecords)
        throw std::runtime_error(options.track == 0 ? "the recording holds no flight records to plot"
                                                    : "track " + std::to_string(options.track) +
                                                          " holds no flight records to plot");

    const std::vector<NamedMarker> markers = readMarkers(file);
    std::vector<Ticks> markerTimes(markers.size());
    std::transform(markers.begin(), markers.end(), markerTimes.begin(), [](auto& m) { return m.time; });

    const bool moreTracks = options.track == 0 && nTracks > kMostTracksDrawn;
    const int width = std::max(options.width, 800), height = std::max(options.height, 500);
    PlotLayout layout = panels(width, height, end - first + moreTracks);
    layout.startTime = startTime;
    layout.endTime = std::max(endTime, startTime + 1);
    const std::vector<DrawnTrack> tracks = readTracks(file, first, end, layout, markerTimes);
    file.close();
    setValueRanges(layout, tracks);
    // Map longitudes are relative to the first drawn track's first position.
    const auto referenceTrack =
        std::find_if(tracks.begin(), tracks.end(), [](auto& t) { return t.series != nullptr; });
    const double reference = referenceTrack->series->referenceLongitude();
    setMapExtent(layout, tracks, reference);
    const auto shiftOf = [&](const TrackSeries& series) {
        return wrappedLongitude(series.referenceLongitude() - reference);
    };

    PlotCanvas canvas(width, height, layout, reference);
    canvas.title(titleLine(recording, layout, nTracks, options.track));
    canvas.timeCharts();
    for (const NamedMarker& marker : markers)
        canvas.markerLine(marker.time, marker.name);
    // The marked track last, over the others.
    for (auto track = tracks.rbegin(); track != tracks.rend(); ++track)
        if (track->series)
            canvas.trackLines(*track->series, track->colour, track->marked, shiftOf(*track->series));
    if (const TrackSeries* marked = tracks.front().series.get())
        for (std::size_t m = 0; m < markers.size(); ++m)
            if (const auto& point = marked->markerPoints()[m])
                canvas.markerDot(*point, shiftOf(*marked), markers[m].name);
    canvas.mapFurniture();
    for (const DrawnTrack& track : tracks) {
        const std::string line = "track " + std::to_string(track.index + 1) + ": " + track.title;
        if (track.series)
            canvas.legendLine(track.colour, line);
        else
            canvas.legendLine(std::nullopt, line + " (no records)");
    }
    if (moreTracks)
        canvas.legendLine(std::nullopt, std::to_string(nTracks - kMostTracksDrawn) +
                                            " more tracks not drawn: --track N shows any one");
    writeWhole(canvas.finish(), output);
    return layout;
}
