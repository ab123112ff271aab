#include "tracks/TrackRecording.h"

#include <chrono>
#include <cmath>
#include <cstring>

#include "common/DataBuffer.h"
#include "common/Rounding.h"
#include "common/Ticks.h"
#include "tracks/TrackError.h"

namespace {

constexpr double kFeetPerMetre = 1 / 0.3048;
constexpr double kKnotsPerMetrePerSecond = 3600 / 1852.0;

// Hysteresis of the on-ground guess: metres per second of ground speed and of climb or sink.
constexpr double kLeaveGroundSpeed = 15, kLeaveGroundClimb = 1.5;
constexpr double kTouchGroundSpeed = 10, kTouchGroundClimb = 0.5;

DataFormat formatOf() {
    return {0, TrackRecording::kContGroups, TrackRecording::kDiscGroups,
            contRecordSize(TrackRecording::kContGroups, 0), discRecordSize(TrackRecording::kDiscGroups)};
}

// The UTC calendar day of a point's time.
std::chrono::year_month_day utcDate(double time) {
    using namespace std::chrono;
    return year_month_day(floor<days>(sys_seconds(seconds(static_cast<int64_t>(std::floor(time))))));
}

} // namespace

TrackRecording::TrackRecording(const std::string& path, double start)
    : path_(path), start_(start),
      contRecords_(std::make_unique_for_overwrite<unsigned char[]>(size_t{formatOf().contRecordSize} * kBatch)),
      contBuffer_(contRecords_.get(), nullptr, formatOf()) {
    file_.open(path, ZflFile::WriteDirect);
}

TrackRecording::~TrackRecording() {
    if (file_.isOpen())
        file_.discard();
}

void TrackRecording::beginTrack(const std::string& title, const std::string& tailNumber) {
    TrackInfo info{};
    std::strncpy(info.title, title.c_str(), sizeof info.title - 1);
    std::strncpy(info.tailNumber, tailNumber.c_str(), 10);
    info.format = formatOf();
    file_.addTrack(info);
    points_ = 0;
    disc_.clear();
}

uint32_t TrackRecording::ticksOf(double time) const {
    if (time < start_)
        throw BeforeStart{};
    // Rounded, the ticks must be 0..UINT32_MAX.
    const double ticks = (time - start_) * kTicksPerSecond;
    if (!(ticks > -0.5 && ticks < static_cast<double>(UINT32_MAX) + 0.5))
        throw TrackError(path_, 0,
                         "a point comes more than 119 hours after the first one, more than a recording holds "
                         "(are the inputs of one flight?)");
    return static_cast<uint32_t>(roundedToInteger(ticks));
}

void TrackRecording::add(const TrackPoint& point, const Motion& motion) {
    // Every field the records keep is set anew: the record is not cleared for each point.
    ContData& cont = cont_;
    cont.timestamp = ticksOf(point.time);
    cont.latitude = latitudeFromDegrees(point.latitude);
    cont.longitude = longitudeFromDegrees(point.longitude);
    cont.altitude = altitudeFromMetres(point.altitude);
    // The recording's angles: nose up and the right wing down are negative.
    cont.pitch = static_cast<int32_t>(angleFromDegrees(-motion.pitch));
    cont.bank = static_cast<int32_t>(angleFromDegrees(-motion.bank));
    cont.heading = angleFromDegrees(motion.heading);
    cont.velocityX = motion.eastSpeed * kFeetPerMetre;
    cont.velocityY = motion.verticalSpeed * kFeetPerMetre;
    cont.velocityZ = motion.northSpeed * kFeetPerMetre;
    cont.IAS = static_cast<float>(motion.groundSpeed * kKnotsPerMetrePerSecond);
    cont.TAS = cont.IAS;
    // The seconds of the day, then the hours and minutes in them: one division each, on unsigned
    // numbers (times before 1970 wrap into their day first).
    constexpr int64_t kDay = 86400;
    const int64_t whole = flooredToInteger(point.time);
    const auto ofDay = static_cast<uint32_t>(whole >= 0 ? whole % kDay : (whole % kDay + kDay) % kDay);
    const uint32_t hours = ofDay / 3600, ofHour = ofDay - hours * 3600, minutes = ofHour / 60;
    cont.hour = static_cast<uint8_t>(hours);
    cont.minute = static_cast<uint8_t>(minutes);
    cont.second = static_cast<uint8_t>(ofHour - minutes * 60);
    contBuffer_.setContData(batched_++, cont);
    if (batched_ == kBatch)
        writeBatch();

    const bool slow =
        motion.groundSpeed < kLeaveGroundSpeed && std::abs(motion.verticalSpeed) < kLeaveGroundClimb;
    const bool still =
        motion.groundSpeed < kTouchGroundSpeed && std::abs(motion.verticalSpeed) < kTouchGroundClimb;
    const bool onGround = points_ == 0 ? slow : (onGround_ ? slow : still);
    if (points_ == 0 || onGround != onGround_) {
        DiscData disc{};
        disc.timestamp = cont.timestamp;
        disc.onground = onGround ? 1 : 0;
        const std::chrono::year_month_day date = utcDate(point.time);
        disc.day = static_cast<uint8_t>(static_cast<unsigned>(date.day()));
        disc.month = static_cast<uint8_t>(static_cast<unsigned>(date.month()));
        disc.year = static_cast<uint16_t>(static_cast<int>(date.year()));
        disc_.push_back(disc);
        onGround_ = onGround;
    }
    ++points_;
}

void TrackRecording::writeBatch() {
    file_.writeContData(batched_, contRecords_.get());
    batched_ = 0;
}

void TrackRecording::endTrack() {
    writeBatch();
    const DataFormat format = formatOf();
    discRecords_.assign(disc_.size() * format.discRecordSize, 0);
    DataBuffer records(nullptr, discRecords_.data(), format);
    for (std::size_t i = 0; i < disc_.size(); ++i)
        records.setDiscData(static_cast<uint32_t>(i), disc_[i]);
    file_.writeDiscData(static_cast<uint32_t>(disc_.size()), discRecords_.data());
}

void TrackRecording::close() {
    file_.close();
}
