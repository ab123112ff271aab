#include "tools/TrackSeries.h"

#include <algorithm>
#include <cmath>

#include "common/DataBuffer.h"
#include "common/FlightData.h"
#include "common/ZflFile.h"

namespace {

// Records read from the file at a time: a few hundred kilobytes at the largest record size.
constexpr uint32_t kBlockRecords = 2048;
// Records further apart than this are not joined by a line: the recording has a gap there.
constexpr Ticks kGapTicks = 60 * kTicksPerSecond;
constexpr double kFeetPerMetre = 1 / 0.3048;
constexpr double kFastestKnots = 1e6;
constexpr double kKnotsPerFootPerSecond = 0.3048 * 3600 / 1852;

} // namespace

double wrappedLongitude(double degrees) {
    const double wrapped = std::fmod(degrees + 180.0, 360.0);
    return (wrapped < 0 ? wrapped + 360.0 : wrapped) - 180.0;
}

void ChartColumn::add(double value) {
    if (count == 0) {
        first = low = high = value;
    } else {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    last = value;
    sum += value;
    ++count;
}

TrackSeries::TrackSeries(Ticks startTime, Ticks endTime, uint32_t columns, uint32_t maxMapPoints)
    : startTime_(startTime), span_(std::max<Ticks>(endTime > startTime ? endTime - startTime : 0, 1)),
      maxMapPoints_(std::max<uint32_t>(maxMapPoints, 2)), altitude_(std::max<uint32_t>(columns, 1)),
      speed_(std::max<uint32_t>(columns, 1)) {}

uint32_t TrackSeries::columnOf(Ticks time) const {
    const Ticks offset = time > startTime_ ? time - startTime_ : 0;
    const auto column = static_cast<uint64_t>(offset) * altitude_.size() / span_;
    return static_cast<uint32_t>(std::min<uint64_t>(column, altitude_.size() - 1));
}

void TrackSeries::read(ZflFile& file, uint32_t track, const std::vector<Ticks>& markerTimes) {
    const uint32_t nCont = file.getTrackInfo(track).nCont;
    DataBuffer buffer(nullptr, nullptr, file.getTrackInfo(track).format);
    std::vector<unsigned char> block(std::size_t{kBlockRecords} * buffer.format().contRecordSize);
    buffer.setBuffers(block.data(), nullptr);
    markerPoints_.assign(markerTimes.size(), std::nullopt);

    // Every stride-th position is kept for the map, and the last one.
    const uint32_t stride = nCont / maxMapPoints_ + 1;
    ContData record{};
    for (uint32_t first = 0; first < nCont; first += kBlockRecords) {
        const uint32_t count = file.readContData(track, first, kBlockRecords, block.data());
        for (uint32_t k = 0; k < count; ++k) {
            buffer.getContData(k, record);
            const double speed = std::hypot(record.velocityX, record.velocityZ) * kKnotsPerFootPerSecond;
            add({record.timestamp, latitudeDegrees(record.latitude), longitudeDegrees(record.longitude),
                 altitudeMetres(record.altitude) * kFeetPerMetre, speed},
                first + k, stride, markerTimes);
        }
        if (count == 0)
            break;
    }
    if (previous_ && !previousKept_)
        keep(*previous_);
}

void TrackSeries::keep(const Sample& sample) {
    path_.push_back(
        {sample.latitude, wrappedLongitude(sample.longitude - referenceLongitude_), gapSinceKept_});
    gapSinceKept_ = false;
}

void TrackSeries::add(const Sample& sample, uint32_t index, uint32_t stride,
                      const std::vector<Ticks>& markerTimes) {
    if (records_ == 0) {
        referenceLongitude_ = sample.longitude;
        south_ = north_ = sample.latitude;
    }
    const double longitude = wrappedLongitude(sample.longitude - referenceLongitude_);
    const bool afterGap = previous_ && sample.time > previous_->time + kGapTicks;

    const uint32_t column = columnOf(sample.time);
    if (altitude_[column].count == 0)
        altitude_[column].afterGap = speed_[column].afterGap = afterGap;
    altitude_[column].add(sample.altitudeFeet);
    // A velocity the file holds as not-a-number, or beyond any aircraft's, says nothing of the speed.
    if (sample.speedKnots < kFastestKnots)
        speed_[column].add(sample.speedKnots);

    south_ = std::min(south_, sample.latitude);
    north_ = std::max(north_, sample.latitude);
    west_ = std::min(west_, longitude);
    east_ = std::max(east_, longitude);
    // Both ends of a gap are kept, while there is room, so that the map shows where it was.
    const bool room = path_.size() < 2 * std::size_t{maxMapPoints_};
    if (afterGap && room && !previousKept_)
        keep(*previous_);
    gapSinceKept_ = gapSinceKept_ || afterGap;
    previousKept_ = index % stride == 0 || (afterGap && room);
    if (previousKept_)
        keep(sample);

    for (; nextMarker_ < markerTimes.size() && markerTimes[nextMarker_] <= sample.time; ++nextMarker_) {
        const Ticks time = markerTimes[nextMarker_];
        if (previous_ && time >= previous_->time && sample.time > previous_->time) {
            const double f = static_cast<double>(time - previous_->time) / (sample.time - previous_->time);
            const double previousLongitude = wrappedLongitude(previous_->longitude - referenceLongitude_);
            markerPoints_[nextMarker_] =
                MapPoint{previous_->latitude + f * (sample.latitude - previous_->latitude),
                         previousLongitude + f * (longitude - previousLongitude), false};
        } else if (time == sample.time) {
            markerPoints_[nextMarker_] = MapPoint{sample.latitude, longitude, false};
        }
    }
    previous_ = sample;
    ++records_;
}
