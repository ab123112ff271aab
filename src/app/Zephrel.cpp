#include "Zephrel.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>
#include <utility>

#include "FSinterface.h"
#include "Log.h"
#include "RecordingName.h"
#include "TempFolder.h"
#include "ZephrelException.h"

namespace {

constexpr uint32_t kMebibyte = 1048576;
constexpr uint32_t kMaxReplayMiB = 4095; // the largest bound the temporary file's 32-bit size takes

template <class Step> void stopAtUnload(const char* what, Step step) noexcept {
    try {
        step();
    } catch (const std::exception& e) { // a ZephrelException's text is its log text
        Log::log("Error: stopping " + std::string(what) + " at unload failed: " + e.what(), 1, false);
    } catch (...) {
        Log::log("Error: stopping " + std::string(what) + " at unload failed", 1, false);
    }
}

[[noreturn]] void invalidCall(const char* function, uint32_t line) {
    throw ZephrelException(ZephrelException::kUnexpected, ZephrelException::Warning, function, line,
                           "Invalid call");
}

bool namesUserTrack(const PlayList& list) {
    return list.userFile >= 0 || list.userTrack >= 0;
}

bool selectsAnyTrack(const PlayList& list) {
    for (const PlayFile& file : list.files)
        if (!file.tracks.empty())
            return true;
    return false;
}

void removeReplayFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::remove(path, error) && error)
        Log::log("Warning: Failed to delete file '" + path + "'", 1, false);
}

} // namespace

Zephrel::Zephrel(std::string moduleFolder, ControllerSeams seams)
    : moduleFolder_(std::move(moduleFolder)),
      settingsFile_((std::filesystem::path(moduleFolder_) / kSettingsFileName).string()), seams_(seams),
      speedIndex_(normalSpeedIndex()) {}

Zephrel::~Zephrel() {
    // The module is being unloaded: a failing step is logged and the others still run.
    stopAtUnload("the recording", [this] {
        if (recording_)
            stopRecording(false);
    });
    stopAtUnload("the playback", [this] {
        if (playing_)
            stopPlayback(true);
    });
    stopAtUnload("the rendering", [this] {
        if (rendering_)
            stopRendering(false);
    });
}

int Zephrel::callback(int event, intptr_t a, intptr_t, intptr_t) {
    switch (event) {
    case Start:
        onStart();
        break;
    case Stop:
    case SimClosing:
        onStop();
        break;
    case Frame:
        if (a == 0)
            frame();
        else
            renderingFrame();
        break;
    case FlightLoaded:
        onFlightLoaded(reinterpret_cast<const char*>(a));
        break;
    case AircraftLoaded:
        onAircraftLoaded();
        break;
    default:
        break;
    }
    return 0;
}

bool Zephrel::isRenderingPaused() const {
    return rendering_ && seams_.video->isPaused(); // rendering only ever starts through the renderer
}

// ---- host events ----

void Zephrel::onStart() {
    readAllSettings();
    started_ = true;
}

void Zephrel::readAllSettings() {
    readGeneralSettings(settingsFile_, general_);
    autoplay_ = readAutoplayList(settingsFile_);
    readRecordingSettings(settingsFile_, RecordingBlock::Replay, replaySettings_);
    readPlaybackSettings(settingsFile_, playbackSettings_);
    readRecordingSettings(settingsFile_, RecordingBlock::Recording, recordingSettings_);
    readVideoSettings(settingsFile_, video_);
    speedIndex_ = normalSpeedIndex();
}

void Zephrel::onStop() {
    if (recording_)
        stopRecording(false);
    if (playing_)
        stopPlayback(true);
    if (replayRecording_)
        stopReplayRec();
    if (rendering_)
        stopRendering(false);
}

void Zephrel::onFlightLoaded(const char* flightPath) {
    if (recording_)
        stopRecording(false);
    if (playing_)
        stopPlayback(true);
    if (general_.enableReplay)
        startReplayRec();
    if (flightPath == nullptr || *flightPath == '\0' || !general_.enableAutoplay)
        return;
    const std::string loaded = recordingTitle(flightPath);
    for (const AutoplayEntry& entry : autoplay_)
        if (strcasecmp(recordingTitle(entry.flt).c_str(), loaded.c_str()) == 0) {
            playFile(entry.zfl, entry.playAsTraffic);
            return;
        }
}

void Zephrel::onAircraftLoaded() {
    if (userPlayback_)
        player_->updateCorrections();
    if (recording_)
        stopRecording(false);
    if (general_.enableReplay && !playing_)
        startReplayRec();
}

// ---- recording ----

void Zephrel::startRec() {
    if (recording_ || userPlayback_)
        invalidCall("Zephrel::startRec", __LINE__);
    if (replayRecording_)
        stopReplayRec();
    uint32_t startTime = 0;
    if (playing_) {
        // The traffic goes on at normal speed, so that the recording runs on the playback's clock.
        speedIndex_ = normalSpeedIndex();
        player_->setSpeed(static_cast<float>(general_.speeds[speedIndex_]));
        player_->setSearchSpeed(0);
        startTime = player_->now();
    }
    auto recorder = std::make_unique<Recorder>(&general_, &recordingSettings_);
    recorder->start(startTime, 0);
    recorder_ = std::move(recorder);
    recording_ = true;
    updateMenus();
}

void Zephrel::stopRec(const std::string& fileName) {
    if (!recording_)
        invalidCall("Zephrel::stopRec", __LINE__);
    recorder_->stop(fileName);
    recorder_.reset();
    recording_ = false;
    updateMenus();
    if (!playing_ && general_.enableReplay)
        startReplayRec();
}

void Zephrel::startReplayRec() {
    if (recording_ || playing_)
        invalidCall("Zephrel::startReplayRec", __LINE__);
    if (replayRecording_)
        stopReplayRec();
    // 0 or less is unbounded; a bound beyond the temporary file's 32-bit size is held at its largest.
    const uint32_t mebibytes = general_.maxReplaySize <= 0
                                   ? 0
                                   : std::min(static_cast<uint32_t>(general_.maxReplaySize), kMaxReplayMiB);
    auto recorder = std::make_unique<Recorder>(&general_, &replaySettings_);
    recorder->start(0, mebibytes * kMebibyte);
    recorder_ = std::move(recorder);
    replayRecording_ = true;
    updateMenus();
}

void Zephrel::stopReplayRec() {
    if (!replayRecording_)
        invalidCall("Zephrel::stopReplayRec", __LINE__);
    recorder_->stop("");
    recorder_.reset();
    replayRecording_ = false;
    updateMenus();
}

// ---- playback ----

void Zephrel::startPlay(const PlayList& list, bool noRestore) {
    const bool userTrack = namesUserTrack(list);
    if ((userPlayback_ || recording_) && userTrack)
        invalidCall("Zephrel::startPlay", __LINE__);
    if (!selectsAnyTrack(list))
        return;
    if (playing_) {
        player_->start(list, false, 0);
    } else {
        auto player = std::make_unique<Player>(&general_, settingsFile_, seams_.player);
        player->start(list, noRestore, recording_ ? recorder_->now() : 0);
        if (!player->isStarted()) // refused during a multiplayer session
            return;
        player_ = std::move(player);
        speedIndex_ = normalSpeedIndex();
        // The background recording rests while a playback runs; an instant replay keeps its own.
        if (replayRecording_ && !replayPlayback_)
            stopReplayRec();
    }
    playing_ = true;
    userPlayback_ = userPlayback_ || userTrack;
    updateMenus();
}

void Zephrel::stopPlay(bool noRestore) {
    if (!playing_)
        invalidCall("Zephrel::stopPlay", __LINE__);
    player_->stop(noRestore || replayPlayback_);
    player_.reset();
    playing_ = false;
    userPlayback_ = false;
    const bool afterReplay = replayPlayback_;
    replayPlayback_ = false;
    if (afterReplay)
        removeReplayFile(tempPath(general_, "Zephrel.tmp3"));
    if (!recording_ && general_.enableReplay) {
        if (afterReplay)
            replayRecording_ = true; // the background recorder was kept through the replay and goes on
        else
            startReplayRec();
    } else if (afterReplay) {
        recorder_.reset(); // the kept background recorder is not wanted any more
    }
    updateMenus();
}

// ---- commands that come with the instant replay and the markers ----

void Zephrel::instantReplay() {
    if (!replayRecording_ || playing_)
        return;
    // The "Instant Replay" dialog and the replay itself come with the instant replay.
}

void Zephrel::setMarker() {
    if (!recording_ && !playing_)
        return;
    // The marker dialog comes with the markers.
}
