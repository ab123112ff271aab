#include "playback/TrackWindow.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/ZephrelException.h"

namespace {

constexpr const char* kInterpData = "PlayBuffer::interpData";

[[noreturn]] void fail(uint32_t line, const char* detail) {
    throw ZephrelException(ErrorCode::Unexpected, ZephrelException::StopsRecordingAndPlayback, kInterpData, line,
                           detail);
}

// A window has to hold a whole interval, so two records wherever the track has them.
uint32_t windowSize(uint32_t capacity, uint32_t count) { return std::min(std::max(capacity, 2u), count); }

// The first of the steps 1..last at which `value`, rising with the step, reaches `target`; it is
// known to fall short at step 0 and to be `lastValue` at the last step, where stepping stops in
// any case. Guesses from the values at both ends of what is left, alternating with halving when a
// guess did not halve it, so that an uneven track still takes only about twice log2 probes.
template <typename Value>
uint32_t firstReaching(uint32_t last, int64_t target, int64_t firstValue, int64_t lastValue, Value value) {
    uint32_t low = 0;
    uint32_t high = last;
    int64_t lowValue = firstValue;
    int64_t highValue = lastValue;
    bool halve = false;
    while (high - low > 1) {
        uint32_t guess = low + (high - low) / 2;
        if (!halve && highValue > lowValue) {
            const double share = static_cast<double>(target - lowValue) / static_cast<double>(highValue - lowValue);
            guess = static_cast<uint32_t>(std::clamp(std::ceil(share * (high - low)), 1.0, static_cast<double>(high - low - 1))) + low;
        }
        const uint32_t before = high - low;
        const int64_t v = value(guess);
        if (v >= target) {
            high = guess;
            highValue = v;
        } else {
            low = guess;
            lowValue = v;
        }
        halve = !halve && 2 * (high - low) > before;
    }
    return high;
}

} // namespace

TrackWindow::TrackWindow(ZflFile& file, uint32_t track, Kind kind, uint32_t capacity)
    : file_(&file), track_(track), kind_(kind) {
    const TrackInfo& info = file.getTrackInfo(track);
    recordSize_ = kind == Continuous ? info.format.contRecordSize : info.format.discRecordSize;
    count_ = kind == Continuous ? info.nCont : info.nDisc;
    size_ = windowSize(capacity, count_);
    uint32_t firstCont = 0, lastCont = 0, firstDisc = 0, lastDisc = 0;
    file.getTimeRanges(track, firstCont, lastCont, firstDisc, lastDisc);
    firstTime_ = kind == Continuous ? firstCont : firstDisc;
    lastTime_ = kind == Continuous ? lastCont : lastDisc;
    area_.reset(new unsigned char[std::size_t{size_} * recordSize_]);
    spare_.reset(new unsigned char[std::size_t{size_} * recordSize_]);
    probe_.reset(new unsigned char[recordSize_]);
    read(area_.get(), 0);
}

uint32_t TrackWindow::timestampAt(uint32_t index) const {
    uint32_t timestamp;
    std::memcpy(&timestamp, area_.get() + std::size_t{index} * recordSize_, sizeof timestamp);
    return timestamp;
}

void TrackWindow::read(unsigned char* area, uint32_t start) {
    if (kind_ == Continuous)
        file_->readContData(track_, start, size_, area);
    else
        file_->readDiscData(track_, start, size_, area);
    ++reads_;
}

uint32_t TrackWindow::timestampOf(uint32_t index) {
    const unsigned char* record = nullptr;
    if (index - start_ < size_) {
        record = area_.get() + std::size_t{index - start_} * recordSize_;
    } else if (spareStart_ != kNone && index - spareStart_ < size_) {
        record = spare_.get() + std::size_t{index - spareStart_} * recordSize_;
    } else {
        if (kind_ == Continuous)
            file_->readContData(track_, index, 1, probe_.get());
        else
            file_->readDiscData(track_, index, 1, probe_.get());
        ++probes_;
        record = probe_.get();
    }
    uint32_t timestamp;
    std::memcpy(&timestamp, record, sizeof timestamp);
    return timestamp;
}

void TrackWindow::moveTo(uint32_t start) {
    if (start == start_)
        return;
    if (start == spareStart_) {
        std::swap(area_, spare_);
        spareStart_ = start_;
    } else {
        read(area_.get(), start);
    }
    start_ = start;
    pos_ = 0;
}

bool TrackWindow::readAhead() {
    if (start_ >= count_ - size_ || pos_ < size_ / 2)
        return false;
    const uint32_t next = std::min(start_ + (size_ - 1), count_ - size_);
    if (spareStart_ == next)
        return false;
    read(spare_.get(), next);
    spareStart_ = next;
    return true;
}

TrackWindow::Position TrackWindow::locate(uint32_t t) {
    // Beyond the ends, and always for a single record, the end record holds as it was stored.
    if (t <= firstTime_) {
        moveTo(0);
        return {0, false};
    }
    if (t >= lastTime_) {
        moveTo(count_ - size_);
        return {size_ - 1, false};
    }
    findInterval(t);
    return {pos_, true};
}

uint32_t TrackWindow::stepsBackTo(uint32_t t) {
    const uint32_t step = size_ - 1;
    const uint32_t steps = (start_ + step - 1) / step; // the last one ends at 0
    const auto at = [&](uint32_t k) { return k >= steps ? 0 : start_ - k * step; };
    // Stepping back stops at the first window whose first record is not after t.
    const uint32_t k = firstReaching(steps, -int64_t{t}, -int64_t{timestampAt(0)}, -int64_t{firstTime_},
                                     [&](uint32_t s) { return -int64_t{timestampOf(at(s))}; });
    return at(k);
}

uint32_t TrackWindow::stepsForwardTo(uint32_t t) {
    const uint32_t step = size_ - 1;
    const uint32_t end = count_ - size_;
    const uint32_t steps = (end - start_ + step - 1) / step; // the last one ends at the track's end
    const auto at = [&](uint32_t k) { return k >= steps ? end : start_ + k * step; };
    // Stepping forward stops at the first window whose last record is not before t.
    const uint32_t k = firstReaching(steps, int64_t{t}, int64_t{timestampAt(size_ - 1)}, int64_t{lastTime_},
                                     [&](uint32_t s) { return int64_t{timestampOf(at(s) + step)}; });
    return at(k);
}

void TrackWindow::findInterval(uint32_t t) {
    uint32_t t0 = 0;
    uint32_t t1 = 0;
    const auto takeInterval = [&] {
        t0 = timestampAt(pos_);
        t1 = timestampAt(pos_ + 1);
        if (t1 < t0)
            fail(__LINE__, "Timecode error");
    };
    takeInterval();
    // Playing on, t is nearly always still in the interval of the last frame.
    if (t >= t0 && t <= t1)
        return;
    if (start_ > 0 && timestampAt(0) > t)
        moveTo(stepsBackTo(t));
    if (start_ < count_ - size_ && timestampAt(size_ - 1) < t)
        moveTo(stepsForwardTo(t));
    takeInterval();
    while (t < t0 && pos_ > 0) {
        --pos_;
        takeInterval();
    }
    while (t1 < t && pos_ < size_ - 2) {
        ++pos_;
        takeInterval();
    }
    if (t < t0 || t > t1)
        fail(__LINE__, kind_ == Continuous ? "Error in continuous data timecode search"
                                           : "Error in discrete data timecode search");
}
