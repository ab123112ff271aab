#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/Ticks.h"

class ZflFile;

// One pixel column of a time chart: the values of the records whose times fall in it.
struct ChartColumn {
    double first = 0;
    double last = 0;
    double low = 0;
    double high = 0;
    double sum = 0;
    uint32_t count = 0;
    // The column's first record follows the one before it after a gap in the recording, so the
    // line is not drawn across the gap.
    bool afterGap = false;

    void add(double value);
    double mean() const { return count == 0 ? 0.0 : sum / count; }
};

struct MapPoint {
    double latitude;  // degrees
    double longitude; // degrees east of the track's reference longitude, -180 to 180
    bool afterGap;
};

// A track's continuous records reduced to what a picture shows of them: altitude (feet) and
// ground speed (knots) per pixel column of a time axis, and at most a bounded number of positions
// for its map, whatever the number of records. The records are read block by block, so the
// memory it takes does not grow with the track.
//
// Ground speed is the horizontal part of the records' velocity (always stored, with the position).
class TrackSeries {
public:
    // Time charts of `columns` columns over [startTime, endTime]; at most about `maxMapPoints`
    // positions kept for the map.
    TrackSeries(Ticks startTime, Ticks endTime, uint32_t columns, uint32_t maxMapPoints);

    // Reads every continuous record of `track`, and where the aircraft was at each of
    // `markerTimes` (ascending) that falls within the track's records.
    void read(ZflFile& file, uint32_t track, const std::vector<Ticks>& markerTimes);

    const std::vector<ChartColumn>& altitudeFeet() const { return altitude_; }
    const std::vector<ChartColumn>& speedKnots() const { return speed_; }
    const std::vector<MapPoint>& path() const { return path_; }
    // Per marker time given to read(): where the aircraft was then, if the track was recorded.
    const std::vector<std::optional<MapPoint>>& markerPoints() const { return markerPoints_; }

    // The longitude every map point's longitude is relative to: the first record's.
    double referenceLongitude() const { return referenceLongitude_; }
    // The extent of all positions (not only those kept), relative longitudes as in path().
    double south() const { return south_; }
    double north() const { return north_; }
    double west() const { return west_; }
    double east() const { return east_; }
    bool empty() const { return records_ == 0; }

private:
    struct Sample {
        Ticks time;
        double latitude, longitude, altitudeFeet, speedKnots;
    };
    void add(const Sample& sample, uint32_t index, uint32_t stride, const std::vector<Ticks>& markerTimes);
    void keep(const Sample& sample);
    uint32_t columnOf(Ticks time) const;

    Ticks startTime_;
    Ticks span_;
    uint32_t maxMapPoints_;
    std::vector<ChartColumn> altitude_;
    std::vector<ChartColumn> speed_;
    std::vector<MapPoint> path_;
    std::vector<std::optional<MapPoint>> markerPoints_;
    std::size_t nextMarker_ = 0;
    std::optional<Sample> previous_;
    bool previousKept_ = false;
    bool gapSinceKept_ = false;
    double referenceLongitude_ = 0;
    double south_ = 0, north_ = 0, west_ = 0, east_ = 0;
    uint64_t records_ = 0;
};

// `degrees` brought into [-180, 180).
double wrappedLongitude(double degrees);
