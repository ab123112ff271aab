#include "app/Zephrel.h"

#include "app/StatusLine.h"
#include "host/FSinterface.h"

namespace {

// The Level-D 767 holds its spoilers armed at 4800 and deploys them fully at touchdown.
constexpr uint16_t kSpoilersArmed = 4800;
constexpr uint16_t kSpoilersDeployed = 16383;
constexpr float kArmingHeight = 10; // metres above the ground

// Clears a flag when the scope ends, also by an exception.
class FlagRelease {
public:
    explicit FlagRelease(bool& flag) : flag_(flag) {}
    ~FlagRelease() { flag_ = false; }
    FlagRelease(const FlagRelease&) = delete;
    FlagRelease& operator=(const FlagRelease&) = delete;

private:
    bool& flag_;
};

} // namespace

void Zephrel::frame() {
    // A frame that arrives while this one runs (from a dialog it opened) is left out.
    if (busy_)
        return;
    busy_ = true;
    const FlagRelease release(busy_);
    if (started_ && !interruptedOffered_) {
        interruptedOffered_ = true; // once, in the first frame: the simulator is up by then
        offerInterruptedRecordings();
    }

    correctLevelDSpoilers();
    if (recording_ || replayRecording_) {
        recorder_->frame(playing_ ? &player_->aircraft() : nullptr);
        if (recorder_->autoStopped())
            stopRecording(true);
    }
    if (playing_) {
        player_->frame();
        if (player_->isFinished())
            stopPlay(false);
    }
    showStatus();
    if (rendering_ && video_.hideInfoWnd && !FSinterface::isPaused() && !isRenderingPaused())
        FSinterface::clearHostWord();
}

void Zephrel::renderingFrame() {
    if (!rendering_)
        return;
    // The frames after a camera switch are held still, so that the new view settles first.
    if (video_.camSwitchPause != 0 && seams_.cameras != nullptr) {
        const Guid camera = seams_.cameras->activeCameraGuid();
        if (camera != renderedCamera_) {
            renderedCamera_ = camera;
            seams_.video->holdFrames(video_.camSwitchPause);
        }
    }
    try {
        seams_.video->frame();
    } catch (const ZephrelException&) {
        stopRendering(true);
        throw;
    }
}

void Zephrel::correctLevelDSpoilers() {
    if (!general_.levelD767SpoilersPatch || !FSinterface::isLevelD767())
        return;
    const bool onGround = FSinterface::getOnGround();
    const uint16_t spoilers = FSinterface::getSpoilers();
    if (!onGround && spoilers > kSpoilersArmed && FSinterface::getHeight() < kArmingHeight)
        FSinterface::setSpoilers(kSpoilersArmed);
    else if (onGround && !wasOnGround_ && spoilers == kSpoilersArmed)
        FSinterface::setSpoilers(kSpoilersDeployed);
    wasOnGround_ = onGround;
}

void Zephrel::showStatus() {
    if (general_.displayRecording && recording_ && (!playing_ || !general_.displayPlayback)) {
        StatusLine::recording(statusText_, recorder_->now(), recorder_->getStartTime());
        FSinterface::setStatusText(statusText_, StatusLine::kPlace, StatusLine::kRecordingStyle);
    }
    if (!general_.displayPlayback || !playing_ || (rendering_ && video_.hideDisplay && !isRenderingPaused()))
        return;
    using Kind = StatusLine::Playback;
    const Kind kind = replayPlayback_ ? Kind::InstantReplay
                      : userPlayback_ ? Kind::User
                      : recording_    ? Kind::TrafficWhileRecording
                                      : Kind::Traffic;
    StatusLine::playback(statusText_, kind, player_->now(), player_->begin(), player_->end(), player_->loop(),
                         player_->speed());
    FSinterface::setStatusText(statusText_, StatusLine::kPlace, StatusLine::kPlaybackStyle);
}
