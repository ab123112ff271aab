#pragma once

#include <cstdint>
#include <string>

#include "common/Ticks.h"

// zfl-info --plot: a picture of a recording, readable at a glance. Two stacked time charts on the
// left (altitude in feet, ground speed in knots) and the ground track seen from above on the
// right (north up, equal scale both ways, with a scale bar in nautical miles). Markers are
// vertical lines with their names on the time charts and dots on the marked track's map. Track 1
// (or the one track asked for) is drawn in a strong colour, the others lighter, with a legend of
// the tracks' titles.

struct PlotOptions {
    uint32_t track = 0; // 1-based; 0: every track
    int width = 1600;
    int height = 1000;
};

struct PlotRect {
    double x, y, width, height; // pixels, from the top left
};

// Where the picture shows what: each chart's plotting area with the values at its edges, and the
// map's area with the positions at its edges.
struct PlotLayout {
    PlotRect altitude;
    PlotRect speed;
    PlotRect map;
    Ticks startTime;                                // at the time charts' left edge
    Ticks endTime;                                  // at their right edge
    double lowestFeet, highestFeet, feetPerTick;    // altitude chart: bottom, top, between labels
    double lowestKnots, highestKnots, knotsPerTick; // speed chart: bottom, top, between labels
    // Map edges. West and east are degrees of longitude that may pass +-180 for a map across it.
    double south, north, west, east;
};

struct PlotColour {
    uint8_t red, green, blue;
};
// The marked track's lines and the markers' lines, dots and names.
constexpr PlotColour kMarkedTrackColour{200, 30, 40};
constexpr PlotColour kMarkerColour{40, 60, 170};

// Draws the recording at `recording` into the PNG file `output`, which is written whole or not at
// all. Throws std::runtime_error when the track asked for is not in the recording, no track to
// draw has a record, or the picture cannot be written; ZephrelException when the recording cannot
// be read.
PlotLayout plotRecording(const std::string& recording, const std::string& output,
                         const PlotOptions& options = {});
