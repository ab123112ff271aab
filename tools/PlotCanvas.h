#pragma once

#include <cairo.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/RecordingPlot.h"
#include "tools/TrackSeries.h"

// The picture of a recording as it is drawn, piece by piece, into the panels a PlotLayout places:
// what each piece looks like, and where a time, a value or a position falls in it.
class PlotCanvas {
public:
    // `referenceLongitude`: what the map points' longitudes are relative to.
    PlotCanvas(int width, int height, const PlotLayout& layout, double referenceLongitude);

    void title(const std::string& text);
    // Frames, grid lines and labelled ticks of both time charts.
    void timeCharts();
    // A vertical line through both time charts, named in the altitude chart.
    void markerLine(Ticks time, const std::string& name);
    // A track's altitude, speed and ground track; `longitudeShift` takes its map points to the
    // map's reference longitude.
    void trackLines(const TrackSeries& series, PlotColour colour, bool marked, double longitudeShift);
    void markerDot(const MapPoint& point, double longitudeShift, const std::string& name);
    // The map's frame, scale bar and north arrow.
    void mapFurniture();
    // The next line of the legend below the map, with the colour of a track's lines if it has any.
    void legendLine(std::optional<PlotColour> colour, const std::string& text);

    // The finished picture. Throws std::runtime_error if cairo failed to draw it.
    cairo_surface_t* finish();

private:
    enum class Align { Left, Centre, Right };
    void text(double x, double y, const std::string& text, double size, Align align = Align::Left,
              bool halo = false);
    void colour(PlotColour c, double alpha = 1.0);
    double timeX(double ticks) const;
    double chartY(const PlotRect& rect, double value, double low, double high) const;
    double mapX(double relativeLongitude) const;
    double mapY(double latitude) const;
    void valueAxis(const PlotRect& rect, double low, double high, double step, const std::string& name);
    void timeAxis(const PlotRect& rect);
    void columnLine(const PlotRect& rect, const std::vector<ChartColumn>& columns, double low, double high,
                    bool range);

    PlotLayout layout_;
    double referenceLongitude_;
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface_;
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr_;
    std::vector<double> labelRowEnds_; // the right end of the last marker name in each row
    std::vector<PlotRect> mapNames_;   // where marker names are on the map
    int legendLines_ = 0;
};
