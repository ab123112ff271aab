#include "tools/RecordingTracks.h"

#include <chrono>
#include <cstring>
#include <optional>

#include "common/DataBuffer.h"
#include "common/Ticks.h"
#include "text/Utf8.h"
#include "tracks/TrackError.h"

namespace {

// 2000-01-01, the day of a track that does not say which day it was flown.
constexpr double kUndatedDay = 946684800;

// A stored text as UTF-8: bytes that are no UTF-8 taken as Latin-1, as older recordings wrote them.
template <std::size_t N> std::string utf8Text(const char (&stored)[N]) {
    const std::string_view text(stored, strnlen(stored, N));
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        if (const auto point = nextUtf8(text, at))
            appendUtf8(result, *point);
        else
            appendUtf8(result, static_cast<unsigned char>(text[at++]));
    }
    return result;
}

class RecordCursor final : public PointCursor {
public:
    RecordCursor(ZflFile& file, uint32_t track, double clockStart, unsigned parts)
        : file_(file), track_(track), info_(file.getTrackInfo(track)), clockStart_(clockStart), parts_(parts),
          records_(nullptr, nullptr, info_.format) {}

    bool next(TrackPoint& point) override {
        if (inBlock_ == blockSize_) {
            blockSize_ = kBlock;
            // Only read through: the records stay as the file has them.
            records_.setBuffers(const_cast<unsigned char*>(file_.viewContData(track_, read_, blockSize_, view_)),
                                nullptr);
            if (blockSize_ == 0)
                return false;
            read_ += blockSize_;
            inBlock_ = 0;
        }
        ContData record;
        records_.getContCore(inBlock_++, record);
        // Zeros where the recording was cut short under the view are none of its points.
        if (view_.cut())
            throw TrackError(file_.path(), 0, "the recording was cut short while it was read");
        if (parts_ & PointPart::Time)
            point.time = clockStart_ + static_cast<double>(record.timestamp) / kTicksPerSecond;
        if (parts_ & PointPart::Place) {
            point.latitude = latitudeDegrees(record.latitude);
            point.longitude = longitudeDegrees(record.longitude);
            point.altitude = altitudeMetres(record.altitude);
        }
        // The recording's angles have nose up and the right wing down negative.
        point.hasAttitude = true;
        if (parts_ & PointPart::Attitude) {
            point.pitch = -angleDegrees(record.pitch);
            point.bank = -angleDegrees(record.bank);
            point.heading = headingDegrees(record.heading);
        }
        return true;
    }

private:
    // Records seen at a time: a few megabytes of the file.
    static constexpr uint32_t kBlock = 1 << 16;
    ZflFile& file_;
    uint32_t track_;
    const TrackInfo& info_;
    double clockStart_;
    unsigned parts_;
    MappedRange view_;
    DataBuffer records_;
    uint32_t read_ = 0, blockSize_ = 0, inBlock_ = 0;
};

} // namespace

RecordingTracks::RecordingTracks(const std::string& path, std::vector<std::size_t> chosen) {
    file_.open(path, ZflFile::Read);
    const uint32_t available = file_.getNTracks();
    if (chosen.empty())
        for (uint32_t track = 0; track < available; ++track)
            chosen.push_back(track);
    for (const std::size_t track : chosen) {
        if (track >= available)
            throw TrackError(path, 0,
                             "the recording has no track " + std::to_string(track + 1) + " (it has " +
                                 std::to_string(available) + ")");
        tracks_.push_back(static_cast<uint32_t>(track));
    }
    setClock();
}

void RecordingTracks::setClock() {
    using namespace std::chrono;
    // The date of the track's first discrete record, as UTC seconds at its midnight.
    const auto dateOf = [&](uint32_t track) -> std::optional<double> {
        const TrackInfo& info = file_.getTrackInfo(track);
        if ((info.format.DiscFlags & DiscGroup::Date) == 0 || info.nDisc == 0)
            return std::nullopt;
        std::vector<unsigned char> stored(info.format.discRecordSize);
        DiscData disc{};
        if (file_.readDiscData(track, 0, 1, stored.data()) != 1)
            return std::nullopt;
        DataBuffer(nullptr, stored.data(), info.format).getDiscData(0, disc);
        const year_month_day date{year(disc.year), month(disc.month), day(disc.day)};
        if (!date.ok() || disc.year < 1900)
            return std::nullopt;
        return static_cast<double>(sys_days(date).time_since_epoch().count()) * 86400;
    };
    // The time of day at tick 0, from the track's first continuous record.
    const auto timeOfDayOf = [&](uint32_t track) -> std::optional<double> {
        const TrackInfo& info = file_.getTrackInfo(track);
        if ((info.format.ContFlags & ContGroup::TimeOfDay) == 0 || info.nCont == 0)
            return std::nullopt;
        std::vector<unsigned char> stored(info.format.contRecordSize);
        ContData cont{};
        if (file_.readContData(track, 0, 1, stored.data()) != 1)
            return std::nullopt;
        DataBuffer(stored.data(), nullptr, info.format).getContData(0, cont);
        if (cont.hour >= 24 || cont.minute >= 60 || cont.second >= 60)
            return std::nullopt;
        return cont.hour * 3600.0 + cont.minute * 60.0 + cont.second -
               static_cast<double>(cont.timestamp) / kTicksPerSecond;
    };
    const uint32_t count = file_.getNTracks();
    for (uint32_t track = 0; track < count && !dated_; ++track)
        if (const auto date = dateOf(track)) {
            dated_ = true;
            clockStart_ = *date + timeOfDayOf(track).value_or(0);
        }
    for (uint32_t track = 0; track < count && !dated_; ++track)
        if (const auto timeOfDay = timeOfDayOf(track)) {
            clockStart_ = kUndatedDay + *timeOfDay;
            break;
        }
    if (!dated_ && clockStart_ == 0)
        clockStart_ = kUndatedDay;
}

std::string RecordingTracks::title(std::size_t track) const {
    return utf8Text(file_.getTrackInfo(tracks_[track]).title);
}

std::string RecordingTracks::tailNumber(std::size_t track) const {
    return utf8Text(file_.getTrackInfo(tracks_[track]).tailNumber);
}

std::unique_ptr<PointCursor> RecordingTracks::points(std::size_t track, unsigned parts) const {
    return std::make_unique<RecordCursor>(file_, tracks_[track], clockStart_, parts);
}
