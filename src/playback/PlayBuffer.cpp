#include "playback/PlayBuffer.h"

#include <algorithm>
#include <limits>
#include <type_traits>

#include "common/ZephrelException.h"

namespace {

constexpr const char* kConstructor = "PlayBuffer::PlayBuffer";
constexpr const char* kInterpData = "PlayBuffer::interpData";

[[noreturn]] void fail(const char* function, uint32_t line, const char* detail) {
    throw ZephrelException(ErrorCode::Unexpected, ZephrelException::StopsRecordingAndPlayback, function,
                           line, detail);
}

const TrackInfo& playableTrack(uint32_t contCapacity, uint32_t discCapacity, const ZflFile& file, uint32_t track) {
    if (contCapacity == 0 || discCapacity == 0)
        fail(kConstructor, __LINE__, "Buffer size is 0");
    const TrackInfo& info = file.getTrackInfo(track);
    if (info.nCont == 0 || info.nDisc == 0)
        fail(kConstructor, __LINE__, "Track is empty");
    return info;
}

// A window has to hold a whole interval, so two records wherever the track has them.
uint32_t windowSize(uint32_t capacity, uint32_t count) { return std::min(std::max(capacity, 2u), count); }

void requireOrder(uint32_t t0, uint32_t t1) {
    if (t1 < t0)
        fail(kInterpData, __LINE__, "Timecode error");
}

static_assert(std::numeric_limits<long double>::digits >= 64, "a 64-bit difference must scale exactly");

// a + trunc((b - a) * f) with the difference taken as a Diff: of the field's own width where it
// wraps, so that positions and angles go the short way round, wider where it must not wrap
// (control positions). With f <= 1 the step never leaves Diff's range.
template <typename Diff, typename T> T stepped(T a, T b, float f) {
    using Bits = std::make_unsigned_t<Diff>;
    const auto difference = static_cast<Diff>(static_cast<Bits>(static_cast<Bits>(b) - static_cast<Bits>(a)));
    const auto step = static_cast<Diff>(static_cast<long double>(difference) * f);
    return static_cast<T>(static_cast<Bits>(static_cast<Bits>(a) + static_cast<Bits>(step)));
}

template <typename T> T blended(T a, T b, float f) { return static_cast<T>(a + (b - a) * f); }

// Moves the record in out, sample A, the fraction f of the way to sample B, group by group;
// wind and time of day stay those of A.
void interpolate(ContData& out, const ContData& b, float f, uint32_t flags, uint32_t nEngines) {
    out.latitude = stepped<int64_t>(out.latitude, b.latitude, f);
    out.longitude = stepped<int64_t>(out.longitude, b.longitude, f);
    out.altitude = stepped<int64_t>(out.altitude, b.altitude, f);
    out.pitch = stepped<int32_t>(out.pitch, b.pitch, f);
    out.bank = stepped<int32_t>(out.bank, b.bank, f);
    out.heading = stepped<int32_t>(out.heading, b.heading, f);
    out.velocityX = blended(out.velocityX, b.velocityX, f);
    out.velocityY = blended(out.velocityY, b.velocityY, f);
    out.velocityZ = blended(out.velocityZ, b.velocityZ, f);
    if (flags & ContGroup::FlightControls) {
        out.elevators = stepped<int32_t>(out.elevators, b.elevators, f);
        out.ailerons = stepped<int32_t>(out.ailerons, b.ailerons, f);
        out.rudder = stepped<int32_t>(out.rudder, b.rudder, f);
    }
    for (uint32_t i = 0; i < std::min<uint32_t>(nEngines, kMaxEngines); ++i) {
        if (flags & ContGroup::Throttles)
            out.throttle[i] = stepped<int32_t>(out.throttle[i], b.throttle[i], f);
        if (flags & ContGroup::Propellers)
            out.prop[i] = stepped<int32_t>(out.prop[i], b.prop[i], f);
        if (flags & ContGroup::Mixtures)
            out.mix[i] = stepped<int32_t>(out.mix[i], b.mix[i], f);
    }
    if (flags & ContGroup::Spoilers)
        out.spoilers = stepped<int32_t>(out.spoilers, b.spoilers, f);
    if (flags & ContGroup::Airspeeds) {
        out.IAS = blended(out.IAS, b.IAS, f);
        out.TAS = blended(out.TAS, b.TAS, f);
    }
    if (flags & ContGroup::MainExit)
        out.mainexit = blended(out.mainexit, b.mainexit, f);
    if (flags & ContGroup::Tailhook)
        out.tailhook = blended(out.tailhook, b.tailhook, f);
    if (flags & ContGroup::WingFold) {
        out.wingfoldL = blended(out.wingfoldL, b.wingfoldL, f);
        out.wingfoldR = blended(out.wingfoldR, b.wingfoldR, f);
    }
    if (flags & ContGroup::Mach)
        out.mach = blended(out.mach, b.mach, f);
    for (std::size_t i = 0; i < std::extent_v<decltype(ContData::extControls)>; ++i) {
        if (flags & ContGroup::ExtendedControls)
            out.extControls[i] = blended(out.extControls[i], b.extControls[i], f);
        if (flags & ContGroup::ExtendedGear)
            out.extGear[i] = blended(out.extGear[i], b.extGear[i], f);
    }
    if (flags & ContGroup::ExtendedFlaps)
        for (std::size_t i = 0; i < std::extent_v<decltype(ContData::extFlaps)>; ++i)
            out.extFlaps[i] = stepped<int32_t>(out.extFlaps[i], b.extFlaps[i], f);
}

} // namespace

struct PlayBuffer::Window {
    uint32_t count; // records in the track
    uint32_t size;  // records in the window
    uint32_t firstTime;
    uint32_t lastTime;
    uint32_t& start;
    uint32_t& pos;
    uint32_t& reads;
    unsigned char* area;
    uint32_t (DataBuffer::*timestamp)(uint32_t) const;
    uint32_t (ZflFile::*read)(uint32_t, uint32_t, uint32_t, void*);
    const char* searchFailure;
};

PlayBuffer::PlayBuffer(uint32_t contCapacity, uint32_t discCapacity, uint32_t track, ZflFile& file)
    : track_(track), file_(&file), info_(playableTrack(contCapacity, discCapacity, file, track)),
      contWindow_(windowSize(contCapacity, info_.nCont)), discWindow_(windowSize(discCapacity, info_.nDisc)),
      contArea_(new unsigned char[std::size_t{contWindow_} * info_.format.contRecordSize]),
      discArea_(new unsigned char[std::size_t{discWindow_} * info_.format.discRecordSize]),
      data_(contArea_.get(), discArea_.get(), info_.format) {
    file.getTimeRanges(track, firstContTime_, lastContTime_, firstDiscTime_, lastDiscTime_);
    readWindow(contView(), 0);
    readWindow(discView(), 0);
}

PlayBuffer::Window PlayBuffer::contView() {
    return {info_.nCont,      contWindow_,     firstContTime_,
            lastContTime_,    contStart_,      contPos_,
            contWindowReads_, contArea_.get(), &DataBuffer::getContTimestamp,
            &ZflFile::readContData, "Error in continuous data timecode search"};
}

PlayBuffer::Window PlayBuffer::discView() {
    return {info_.nDisc,      discWindow_,     firstDiscTime_,
            lastDiscTime_,    discStart_,      discPos_,
            discWindowReads_, discArea_.get(), &DataBuffer::getDiscTimestamp,
            &ZflFile::readDiscData, "Error in discrete data timecode search"};
}

void PlayBuffer::readWindow(const Window& window, uint32_t start) {
    (file_->*window.read)(track_, start, window.size, window.area);
    window.start = start;
    window.pos = 0;
    ++window.reads;
}

PlayBuffer::Position PlayBuffer::locate(const Window& window, uint32_t t) {
    // Beyond the ends, and always for a single record, the end record holds as it was stored.
    if (t <= window.firstTime) {
        if (window.start != 0)
            readWindow(window, 0);
        return {0, false};
    }
    if (t >= window.lastTime) {
        if (window.start < window.count - window.size)
            readWindow(window, window.count - window.size);
        return {window.size - 1, false};
    }
    findInterval(window, t);
    return {window.pos, true};
}

void PlayBuffer::findInterval(const Window& window, uint32_t t) {
    const auto timestamp = [&](uint32_t index) { return (data_.*window.timestamp)(index); };
    uint32_t t0 = 0;
    uint32_t t1 = 0;
    const auto takeInterval = [&] {
        t0 = timestamp(window.pos);
        t1 = timestamp(window.pos + 1);
        requireOrder(t0, t1);
    };
    takeInterval();
    // Playing on, t is nearly always still in the interval of the last frame.
    if (t >= t0 && t <= t1)
        return;
    // Windows overlap by one record, so stepping never skips an interval.
    while (window.start > 0 && timestamp(0) > t)
        readWindow(window, window.start > window.size - 1 ? window.start - (window.size - 1) : 0);
    while (window.start < window.count - window.size && timestamp(window.size - 1) < t)
        readWindow(window, std::min(window.start + (window.size - 1), window.count - window.size));
    takeInterval();
    while (t < t0 && window.pos > 0) {
        --window.pos;
        takeInterval();
    }
    while (t1 < t && window.pos < window.size - 2) {
        ++window.pos;
        takeInterval();
    }
    if (t < t0 || t > t1)
        fail(kInterpData, __LINE__, window.searchFailure);
}

void PlayBuffer::interpData(uint32_t t, ContData& cont, DiscData& disc) {
    const Position contAt = locate(contView(), t);
    data_.getContData(contAt.index, cont);
    uint16_t groundSpoilers = cont.spoilers;
    if (contAt.between) {
        ContData next{};
        data_.getContData(contAt.index + 1, next);
        const uint32_t t0 = cont.timestamp;
        const uint32_t t1 = next.timestamp;
        const float f =
            t1 == t0 ? 0.0f : static_cast<float>(static_cast<double>(t - t0) / static_cast<double>(t1 - t0));
        const uint16_t spoilersA = cont.spoilers;
        const uint16_t spoilersB = next.spoilers;
        groundSpoilers = std::min(spoilersA, spoilersB);
        interpolate(cont, next, f, info_.format.ContFlags, info_.format.nEngines);
        cont.timestamp = t;
    }
    data_.getDiscData(locate(discView(), t).index, disc);
    // On the ground the spoilers show one of their samples, never a deflection between the two.
    if ((info_.format.ContFlags & ContGroup::Spoilers) && disc.onground != 0)
        cont.spoilers = groundSpoilers;
}
