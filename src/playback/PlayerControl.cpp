// The player's control operations: the clock, the loop, the user track and its corrections.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "common/Ticks.h"
#include "host/FSinterface.h"
#include "playback/Player.h"

namespace {

constexpr double kTwoToThe32 = 4294967296.0;

} // namespace

// Jumps stop a second before the end, so that playing on still reaches it.
uint32_t Player::lastJumpTarget() const {
    return end_ > kTicksPerSecond ? end_ - kTicksPerSecond : 0;
}

void Player::setTime(uint32_t t) {
    now_ = std::max(std::min(t, lastJumpTarget()), begin_);
    forceUpdate_ = true;
    clearMarkerEffects();
}

void Player::jump(int64_t delta) {
    // Jump sizes come from hand-edited settings too: any size ends inside the time line.
    const int64_t target = static_cast<int64_t>(now_) + delta;
    setTime(static_cast<uint32_t>(std::clamp<int64_t>(target, 0, std::numeric_limits<uint32_t>::max())));
}

void Player::jumpToMarker(bool backwards) {
    const Marker* chapter = nullptr;
    for (const Marker& marker : markers_) {
        if ((marker.flags & Marker::kChapter) == 0)
            continue;
        if (backwards) {
            if (uint64_t{marker.time} + kTicksPerSecond < now_ && (chapter == nullptr || marker.time > chapter->time))
                chapter = &marker;
        } else if (marker.time > now_ && (chapter == nullptr || marker.time < chapter->time)) {
            chapter = &marker;
        }
    }
    clearMarkerEffects();
    now_ = chapter != nullptr ? chapter->time : backwards ? begin_ : lastJumpTarget();
    forceUpdate_ = true;
    if (chapter != nullptr && seams_.markerActions != nullptr)
        seams_.markerActions->fire(*chapter);
    if (now_ >= lastJumpTarget())
        FSinterface::setPaused(true);
}

// The simulation runs at the playback speed where it can, so the aircraft keep up.
void Player::applySimRate(float rate) {
    const float limit = general_->limitSimRate ? 4.0f : 256.0f;
    FSinterface::setSimRate(std::min(std::fabs(rate), limit));
}

void Player::setSpeed(float speed) {
    speed_ = speed;
    if (seams_.controlWindow != nullptr)
        seams_.controlWindow->setSpeed(speed);
    if (general_->setSimRate && started_)
        applySimRate(speed);
}

void Player::setSearchSpeed(int32_t speed) {
    searchSpeed_ = speed;
    if (general_->setSimRate && general_->setSimRateSearch)
        applySimRate(speed == 0 ? speed_ : static_cast<float>(speed));
}

void Player::setLoopIn() {
    loopIn_ = now_;
    showLoop();
}

void Player::setLoopOut() {
    loopOut_ = now_;
    showLoop();
}

void Player::setLoop(bool on) {
    loop_ = on;
    showLoop();
}

void Player::toggleLoop() {
    setLoop(!loop_);
}

void Player::switchUserTrack(bool backwards) {
    Track* former = userTrackPlayed();
    if (former == nullptr)
        return;
    const std::size_t count = tracks_.size();
    const std::size_t from = static_cast<std::size_t>(userTrack_);
    const std::size_t step = backwards ? count - 1 : 1;
    std::size_t next = (from + step) % count;
    while (next != from && playTrackOf(tracks_[next]).hold == 0 && !inSpan(tracks_[next], now_))
        next = (next + step) % count;
    if (next == from)
        return;
    Track& track = tracks_[next];
    if (track.aircraft != kNoAircraft && track.aircraft != kCreationFailed) {
        FSinterface::removeAircraft(track.aircraft);
        forgetAircraft(track);
    }
    // The former user track is flown by a new AI aircraft from the next frame on.
    former->aircraft = kNoAircraft;
    userTrack_ = static_cast<int32_t>(next);
    playList_.userFile = static_cast<int32_t>(track.file);
    playList_.userTrack = static_cast<int32_t>(track.playTrack);
    takeOverUserAircraft(track);
    setRange();
}

void Player::adjustAltitude(double metres) {
    if (Track* user = userTrackPlayed())
        user->altCorrection += static_cast<int64_t>(std::trunc(metres * kTwoToThe32));
}

void Player::adjustPitch(double degrees) {
    Track* user = userTrackPlayed();
    if (user == nullptr)
        return;
    int32_t& correction = user->pitchCorrection;
    // Angles wrap as their units do: 2^32 is a full turn.
    correction = static_cast<int32_t>(static_cast<uint32_t>(correction) +
                                      static_cast<uint32_t>(static_cast<int64_t>(std::trunc(-degrees * kTwoToThe32 / 360))));
}

void Player::updateCorrections() {
    Track* user = userTrackPlayed();
    if (user == nullptr)
        return;
    Track& track = *user;
    track.aircraft = FSinterface::getUserAcftID();
    track.altCorrection = altCorrectionFor(track, track.aircraft);
    track.pitchCorrection = 0;
}

void Player::addMarker(const Marker& marker) {
    markers_.push_back(marker);
}
