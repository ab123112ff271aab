#include "tools/PlotCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "tools/AxisTicks.h"

namespace {

constexpr PlotColour kInk{30, 30, 30};
constexpr PlotColour kAxisInk{90, 90, 90};
constexpr PlotColour kGrid{225, 225, 225};
constexpr double kLabelSize = 13;
constexpr double kMarkerNameSize = 12;
constexpr double kMarkerRowHeight = 15;
constexpr std::size_t kMarkerRows = 4;
// The time axis gets a labelled tick about every this many pixels.
constexpr double kPixelsPerTimeTick = 110;

} // namespace

PlotCanvas::PlotCanvas(int width, int height, const PlotLayout& layout, double referenceLongitude)
    : layout_(layout), referenceLongitude_(referenceLongitude),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), &cairo_surface_destroy),
      cr_(cairo_create(surface_.get()), &cairo_destroy), labelRowEnds_(kMarkerRows, -INFINITY) {
    cairo_t* cr = cr_.get();
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
}

void PlotCanvas::colour(PlotColour c, double alpha) {
    cairo_set_source_rgba(cr_.get(), c.red / 255.0, c.green / 255.0, c.blue / 255.0, alpha);
}

void PlotCanvas::text(double x, double y, const std::string& text, double size, Align align, bool halo) {
    cairo_t* cr = cr_.get();
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    const double shift = align == Align::Left     ? 0
                         : align == Align::Centre ? extents.x_advance / 2
                                                  : extents.x_advance;
    cairo_move_to(cr, x - shift, y);
    if (!halo) {
        cairo_show_text(cr, text.c_str());
        return;
    }
    // A white rim keeps a name readable where it crosses a line.
    cairo_pattern_t* ink = cairo_pattern_reference(cairo_get_source(cr));
    cairo_text_path(cr, text.c_str());
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    cairo_set_source(cr, ink);
    cairo_fill(cr);
    cairo_pattern_destroy(ink);
}

double PlotCanvas::timeX(double ticks) const {
    const double span = layout_.endTime - layout_.startTime;
    return layout_.altitude.x + (ticks - layout_.startTime) / span * layout_.altitude.width;
}

double PlotCanvas::chartY(const PlotRect& rect, double value, double low, double high) const {
    return rect.y + rect.height - (value - low) / (high - low) * rect.height;
}

double PlotCanvas::mapX(double relativeLongitude) const {
    const double west = layout_.west - referenceLongitude_;
    return layout_.map.x + (relativeLongitude - west) / (layout_.east - layout_.west) * layout_.map.width;
}

double PlotCanvas::mapY(double latitude) const {
    return layout_.map.y + (layout_.north - latitude) / (layout_.north - layout_.south) * layout_.map.height;
}

void PlotCanvas::title(const std::string& line) {
    cairo_select_font_face(cr_.get(), "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    colour(kInk);
    text(layout_.altitude.x - 68, 36, line, 22);
    cairo_select_font_face(cr_.get(), "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
}

void PlotCanvas::valueAxis(const PlotRect& rect, double low, double high, double step,
                           const std::string& name) {
    cairo_t* cr = cr_.get();
    cairo_set_line_width(cr, 1);
    for (const AxisTick& tick : valueTicks(low, high, step)) {
        const double y = std::round(chartY(rect, tick.value, low, high)) + 0.5;
        colour(kGrid);
        cairo_move_to(cr, rect.x, y);
        cairo_line_to(cr, rect.x + rect.width, y);
        cairo_stroke(cr);
        colour(kAxisInk);
        text(rect.x - 8, y + 4.5, tick.label, kLabelSize, Align::Right);
    }
    // The axis' name reads upwards beside its labels.
    cairo_save(cr);
    cairo_translate(cr, rect.x - 70, rect.y + rect.height / 2);
    cairo_rotate(cr, -M_PI / 2);
    colour(kInk);
    text(0, 0, name, 14, Align::Centre);
    cairo_restore(cr);
}

void PlotCanvas::timeAxis(const PlotRect& rect) {
    cairo_t* cr = cr_.get();
    const TimeTicks ticks =
        timeTicks(layout_.startTime / double{kTicksPerSecond}, layout_.endTime / double{kTicksPerSecond},
                  std::max(static_cast<int>(rect.width / kPixelsPerTimeTick), 2));
    cairo_set_line_width(cr, 1);
    for (const AxisTick& tick : ticks.ticks) {
        const double x = std::round(timeX(tick.value * kTicksPerSecond)) + 0.5;
        colour(kGrid);
        cairo_move_to(cr, x, rect.y);
        cairo_line_to(cr, x, rect.y + rect.height);
        cairo_stroke(cr);
        colour(kAxisInk);
        text(x, rect.y + rect.height + 18, tick.label, kLabelSize, Align::Centre);
    }
    colour(kInk);
    text(rect.x + rect.width, rect.y + rect.height + 38, "time (" + ticks.unit + ")", kLabelSize,
         Align::Right);
}

void PlotCanvas::timeCharts() {
    cairo_t* cr = cr_.get();
    valueAxis(layout_.altitude, layout_.lowestFeet, layout_.highestFeet, layout_.feetPerTick,
              "altitude (ft)");
    valueAxis(layout_.speed, layout_.lowestKnots, layout_.highestKnots, layout_.knotsPerTick,
              "ground speed (kt)");
    for (const PlotRect* rect : {&layout_.altitude, &layout_.speed}) {
        timeAxis(*rect);
        colour(kAxisInk);
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, rect->x - 0.5, rect->y - 0.5, rect->width + 1, rect->height + 1);
        cairo_stroke(cr);
    }
}

void PlotCanvas::markerLine(Ticks time, const std::string& name) {
    if (time < layout_.startTime || time > layout_.endTime)
        return;
    cairo_t* cr = cr_.get();
    const PlotRect& chart = layout_.altitude;
    const double x = std::min(std::floor(timeX(time)), chart.x + chart.width - 1) + 0.5;
    colour(kMarkerColour);
    cairo_set_line_width(cr, 1);
    for (const PlotRect* rect : {&layout_.altitude, &layout_.speed}) {
        cairo_move_to(cr, x, rect->y);
        cairo_line_to(cr, x, rect->y + rect->height);
        cairo_stroke(cr);
    }
    // The name goes right of its line, or left of it near the chart's right end, in the first row
    // where it clears the names before it.
    cairo_set_font_size(cr, kMarkerNameSize);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, name.c_str(), &extents);
    const bool right = x + 4 + extents.x_advance <= chart.x + chart.width;
    const double left = right ? x + 4 : x - 4 - extents.x_advance;
    std::size_t row = 0;
    while (row + 1 < labelRowEnds_.size() && labelRowEnds_[row] + 6 > left)
        ++row;
    labelRowEnds_[row] = left + extents.x_advance;
    text(left, chart.y + 14 + kMarkerRowHeight * static_cast<double>(row), name, kMarkerNameSize, Align::Left,
         true);
}

void PlotCanvas::columnLine(const PlotRect& rect, const std::vector<ChartColumn>& columns, double low,
                            double high, bool range) {
    cairo_t* cr = cr_.get();
    bool drawing = false;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const ChartColumn& column = columns[c];
        if (column.count == 0)
            continue;
        const double x = rect.x + static_cast<double>(c) + 0.5;
        const auto y = [&](double value) { return chartY(rect, value, low, high); };
        if (!drawing || column.afterGap)
            cairo_move_to(cr, x, y(range ? column.first : column.mean()));
        else
            cairo_line_to(cr, x, y(range ? column.first : column.mean()));
        // Every value of the column is covered, so that a short spike still shows.
        if (range) {
            cairo_line_to(cr, x, y(column.low));
            cairo_line_to(cr, x, y(column.high));
            cairo_line_to(cr, x, y(column.last));
        }
        drawing = true;
    }
    cairo_stroke(cr);
}

void PlotCanvas::trackLines(const TrackSeries& series, PlotColour c, bool marked, double longitudeShift) {
    cairo_t* cr = cr_.get();
    cairo_save(cr);
    colour(c);
    cairo_set_line_width(cr, marked ? 2.2 : 1.6);
    for (const PlotRect* rect : {&layout_.altitude, &layout_.speed}) {
        cairo_save(cr);
        cairo_rectangle(cr, rect->x, rect->y, rect->width, rect->height);
        cairo_clip(cr);
        if (rect == &layout_.altitude)
            columnLine(*rect, series.altitudeFeet(), layout_.lowestFeet, layout_.highestFeet, true);
        else
            columnLine(*rect, series.speedKnots(), layout_.lowestKnots, layout_.highestKnots, false);
        cairo_restore(cr);
    }
    const PlotRect& map = layout_.map;
    cairo_rectangle(cr, map.x, map.y, map.width, map.height);
    cairo_clip(cr);
    for (std::size_t i = 0; i < series.path().size(); ++i) {
        const MapPoint& point = series.path()[i];
        const double x = mapX(point.longitude + longitudeShift), y = mapY(point.latitude);
        if (i == 0 || point.afterGap)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_stroke(cr);
    // Where the track begins: an open circle.
    if (!series.path().empty()) {
        const MapPoint& start = series.path().front();
        cairo_new_sub_path(cr);
        cairo_arc(cr, mapX(start.longitude + longitudeShift), mapY(start.latitude), 5, 0, 2 * M_PI);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void PlotCanvas::markerDot(const MapPoint& point, double longitudeShift, const std::string& name) {
    cairo_t* cr = cr_.get();
    const double x = mapX(point.longitude + longitudeShift), y = mapY(point.latitude);
    cairo_arc(cr, x, y, 5, 0, 2 * M_PI);
    colour(kMarkerColour);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // A name that would cover one already on the map is left out; its dot and its line in the
    // charts still show the marker.
    cairo_set_font_size(cr, kMarkerNameSize);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, name.c_str(), &extents);
    const PlotRect box{x + 9, y - 9, extents.x_advance, 16};
    const auto overlaps = [&](const PlotRect& other) {
        return box.x < other.x + other.width && other.x < box.x + box.width &&
               box.y < other.y + other.height && other.y < box.y + box.height;
    };
    if (std::any_of(mapNames_.begin(), mapNames_.end(), overlaps))
        return;
    mapNames_.push_back(box);
    colour(kMarkerColour);
    text(x + 9, y + 4, name, kMarkerNameSize, Align::Left, true);
}

void PlotCanvas::mapFurniture() {
    cairo_t* cr = cr_.get();
    const PlotRect& map = layout_.map;
    colour(kAxisInk);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, map.x - 0.5, map.y - 0.5, map.width + 1, map.height + 1);
    cairo_stroke(cr);

    // A nautical mile is a minute of latitude.
    const double milesPerPixel = (layout_.north - layout_.south) * 60 / map.height;
    const double miles = roundLengthAtMost(map.width * 0.3 * milesPerPixel);
    const double length = std::round(miles / milesPerPixel);
    const double x = map.x + 20, y = map.y + map.height - 20;
    colour(kInk);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, x, y - 6);
    cairo_line_to(cr, x, y);
    cairo_line_to(cr, x + length, y);
    cairo_line_to(cr, x + length, y - 6);
    cairo_stroke(cr);
    char label[32];
    std::snprintf(label, sizeof label, "%g nm", miles);
    text(x + length / 2, y - 10, label, kLabelSize, Align::Centre);

    // North is up.
    const double northX = map.x + map.width - 24, northY = map.y + 44;
    cairo_move_to(cr, northX, northY);
    cairo_line_to(cr, northX, northY - 22);
    cairo_stroke(cr);
    cairo_move_to(cr, northX - 6, northY - 14);
    cairo_line_to(cr, northX, northY - 24);
    cairo_line_to(cr, northX + 6, northY - 14);
    cairo_close_path(cr);
    cairo_fill(cr);
    text(northX, northY + 16, "N", 14, Align::Centre);
}

void PlotCanvas::legendLine(std::optional<PlotColour> c, const std::string& line) {
    cairo_t* cr = cr_.get();
    const double y = layout_.map.y + layout_.map.height + 34 + 24.0 * legendLines_++;
    const double x = layout_.map.x;
    if (c) {
        colour(*c);
        cairo_set_line_width(cr, 4);
        cairo_move_to(cr, x + 2, y - 5);
        cairo_line_to(cr, x + 28, y - 5);
        cairo_stroke(cr);
    }
    colour(kInk);
    text(x + 38, y, line, 14);
}

cairo_surface_t* PlotCanvas::finish() {
    cairo_surface_flush(surface_.get());
    if (const cairo_status_t status = cairo_status(cr_.get()); status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(std::string("the picture could not be drawn: ") +
                                 cairo_status_to_string(status));
    return surface_.get();
}
