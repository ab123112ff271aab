#include "playback/PlayBuffer.h"

#include <algorithm>

#include "common/ZephrelException.h"
#include "playback/Interpolation.h"

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
        interpolation::interpolate(cont, next, f, info_.format.ContFlags, info_.format.nEngines);
        cont.timestamp = t;
    }
    data_.getDiscData(locate(discView(), t).index, disc);
    // On the ground the spoilers show one of their samples, never a deflection between the two.
    if ((info_.format.ContFlags & ContGroup::Spoilers) && disc.onground != 0)
        cont.spoilers = groundSpoilers;
}
