#include "app/Zephrel.h"

#include <cmath>

#include "common/Ticks.h"
#include "host/FSinterface.h"

namespace {

constexpr double kAltitudeStep = 0.01; // metres
constexpr double kPitchStep = 0.1;     // degrees
constexpr uint32_t kRunOut = kTicksPerSecond; // a stopped user playback runs out over its last second

struct Step {
    bool search;
    int32_t jumpSeconds;
    int32_t searchSpeed;
};

Step step(const GeneralSettings& settings, int level) {
    switch (level) {
    case 1:
        return {settings.search1, settings.jumpSize1, settings.searchSpeed1};
    case 2:
        return {settings.search2, settings.jumpSize2, settings.searchSpeed2};
    default:
        return {settings.search3, settings.jumpSize3, settings.searchSpeed3};
    }
}

} // namespace

bool Zephrel::controlsAllowed() const {
    return playing_ && !recording_ && general_.enableControls && (userPlayback_ || general_.enableControlsAI);
}

std::size_t Zephrel::normalSpeedIndex() const {
    const std::vector<double>& speeds = general_.speeds;
    std::size_t index = 0;
    while (index + 1 < speeds.size() && speeds[index] < 1.0)
        ++index;
    return index;
}

void Zephrel::forward(int level) {
    if (!controlsAllowed() || level < 0 || level > 3)
        return;
    if (level == 0) {
        player_->setSearchSpeed(0);
        return;
    }
    const Step s = step(general_, level);
    if (s.search)
        player_->setSearchSpeed(s.searchSpeed);
    else
        player_->jump(int64_t{s.jumpSeconds} * kTicksPerSecond);
}

void Zephrel::backward(int level) {
    if (!controlsAllowed() || level < 0 || level > 3)
        return;
    if (level == 0) {
        player_->setSearchSpeed(0);
        return;
    }
    const Step s = step(general_, level);
    if (s.search)
        player_->setSearchSpeed(-s.searchSpeed);
    else
        player_->jump(-int64_t{s.jumpSeconds} * kTicksPerSecond);
}

void Zephrel::faster() {
    if (!controlsAllowed() || speedIndex_ + 1 >= general_.speeds.size())
        return;
    player_->setSpeed(static_cast<float>(general_.speeds[++speedIndex_]));
}

void Zephrel::slower() {
    if (!controlsAllowed() || speedIndex_ == 0)
        return;
    player_->setSpeed(static_cast<float>(general_.speeds[--speedIndex_]));
}

void Zephrel::normalSpeed() {
    if (!controlsAllowed())
        return;
    speedIndex_ = normalSpeedIndex();
    player_->setSpeed(static_cast<float>(general_.speeds[speedIndex_]));
}

void Zephrel::position(double fraction) {
    if (!controlsAllowed() || !(fraction >= 0 && fraction <= 1))
        return;
    const double span = static_cast<double>(player_->end()) - player_->begin();
    player_->setTime(static_cast<uint32_t>(std::lround(player_->begin() + span * fraction)));
}

void Zephrel::nextMarker() {
    if (controlsAllowed())
        player_->jumpToMarker(false);
}

void Zephrel::previousMarker() {
    if (controlsAllowed())
        player_->jumpToMarker(true);
}

void Zephrel::loopIn() {
    if (controlsAllowed())
        player_->setLoopIn();
}

void Zephrel::loopOut() {
    if (!controlsAllowed())
        return;
    player_->setLoopOut();
    player_->setLoop(true);
}

void Zephrel::toggleLoop() {
    if (controlsAllowed())
        player_->toggleLoop();
}

void Zephrel::setLoop(bool on) {
    if (controlsAllowed())
        player_->setLoop(on);
}

// ---- the user playback's own commands ----

void Zephrel::nextUserTrack() {
    if (userPlayback_)
        player_->switchUserTrack(false);
}

void Zephrel::previousUserTrack() {
    if (userPlayback_)
        player_->switchUserTrack(true);
}

void Zephrel::altitudeUp() {
    if (userPlayback_)
        player_->adjustAltitude(kAltitudeStep);
}

void Zephrel::altitudeDown() {
    if (userPlayback_)
        player_->adjustAltitude(-kAltitudeStep);
}

void Zephrel::pitchUp() {
    if (userPlayback_)
        player_->adjustPitch(kPitchStep);
}

void Zephrel::pitchDown() {
    if (userPlayback_)
        player_->adjustPitch(-kPitchStep);
}

void Zephrel::stopPlayback(bool force) {
    if (!playing_)
        return;
    if (!userPlayback_ || force) {
        stopPlay(true);
        return;
    }
    // The user aircraft runs out the recording's last second, so that it ends where the recording
    // does; a search would keep it from getting there.
    speedIndex_ = normalSpeedIndex();
    player_->setSpeed(1.0f);
    player_->setSearchSpeed(0);
    player_->setLoop(false);
    const uint32_t begin = player_->begin();
    const uint32_t end = player_->end();
    player_->setTime(end - begin > kRunOut ? end - kRunOut : begin);
    FSinterface::setPaused(false);
}

// ---- rendering ----

void Zephrel::renderVideo() {
    if (rendering_ || recording_ || seams_.video == nullptr || !seams_.video->editSettings(video_))
        return;
    writeVideoSettings(settingsFile_, video_);
    // Hidden before the window takes the video's size: without the menu bar the client area is larger.
    if (video_.hideInfoWnd)
        FSinterface::setHideTexts(true);
    bool started = false;
    try {
        started = seams_.video->start(video_);
    } catch (const ZephrelException&) {
        if (video_.hideInfoWnd)
            FSinterface::setHideTexts(false);
        throw;
    }
    if (!started) {
        if (video_.hideInfoWnd)
            FSinterface::setHideTexts(false);
        return;
    }
    rendering_ = true;
    renderedCamera_ = Guid{};
    if (video_.hideDisplay)
        clearStatus(); // what the status showed before would stand still in the video
    updateMenus();
}

void Zephrel::stopRendering(bool aborted) {
    endRendering(aborted, !aborted && video_.showInfo);
}

// The rendering has ended once this is called, even when the video file cannot be ended.
void Zephrel::endRendering(bool aborted, bool showSummary) {
    if (!rendering_)
        return;
    rendering_ = false;
    if (video_.hideInfoWnd)
        FSinterface::setHideTexts(false);
    updateMenus();
    seams_.video->stop(aborted);
    if (showSummary)
        seams_.video->showInfo();
}

void Zephrel::pauseRendering() {
    if (!rendering_)
        return;
    seams_.video->togglePause();
    if (video_.hideDisplay && !seams_.video->isPaused())
        clearStatus();
    updateMenus();
}
