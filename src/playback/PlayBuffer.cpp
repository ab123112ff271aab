#include "playback/PlayBuffer.h"

#include <algorithm>

#include "common/ZephrelException.h"
#include "playback/Interpolation.h"

namespace {

constexpr const char* kConstructor = "PlayBuffer::PlayBuffer";

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

} // namespace

PlayBuffer::PlayBuffer(uint32_t contCapacity, uint32_t discCapacity, uint32_t track, ZflFile& file)
    : info_(playableTrack(contCapacity, discCapacity, file, track)),
      cont_(file, track, TrackWindow::Continuous, contCapacity), disc_(file, track, TrackWindow::Discrete, discCapacity),
      data_(cont_.records(), disc_.records(), info_.format) {}

void PlayBuffer::interpData(uint32_t t, ContData& cont, DiscData& disc) {
    const TrackWindow::Position contAt = cont_.locate(t);
    const TrackWindow::Position discAt = disc_.locate(t);
    data_.setBuffers(cont_.records(), disc_.records());
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
    data_.getDiscData(discAt.index, disc);
    // On the ground the spoilers show one of their samples, never a deflection between the two.
    if ((info_.format.ContFlags & ContGroup::Spoilers) && disc.onground != 0)
        cont.spoilers = groundSpoilers;
}

uint32_t PlayBuffer::readAhead() {
    return (cont_.readAhead() ? 1u : 0u) + (disc_.readAhead() ? 1u : 0u);
}
