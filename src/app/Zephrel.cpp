#include "app/Zephrel.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <utility>

#include "alerts/MessageBox.h"
#include "alerts/ShowError.h"
#include "app/RecordingName.h"
#include "common/Log.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "recording/InterruptedRecording.h"
#include "settings/TempFolder.h"
#include "text/AsciiCase.h"
#include "winsys/LocalTime.h"

namespace {

constexpr uint32_t kMebibyte = 1048576;
constexpr uint32_t kMaxReplayMiB = 4095; // the largest bound the temporary file's 32-bit size takes

// Runs a stop step that must not end the caller: its failure is logged. False when it failed.
template <class Step> bool stopLogged(const char* what, Step step) noexcept {
    try {
        step();
        return true;
    } catch (const std::exception& e) { // a ZephrelException's text is its log text
        Log::log("Error: stopping " + std::string(what) + " failed: " + e.what(), 1, false);
    } catch (...) {
        Log::log("Error: stopping " + std::string(what) + " failed", 1, false);
    }
    return false;
}

} // namespace

Zephrel::Zephrel(std::string moduleFolder, ControllerSeams seams)
    : moduleFolder_(std::move(moduleFolder)),
      settingsFile_((std::filesystem::path(moduleFolder_) / kSettingsFileName).string()), seams_(seams),
      markerFiring_(seams.cameras), playerDialogs_(settingsFile_), speedIndex_(normalSpeedIndex()) {
    if (seams_.player.markerActions == nullptr)
        seams_.player.markerActions = &markerFiring_;
    if (seams_.player.prompts == nullptr)
        seams_.player.prompts = &playerDialogs_;
}

Zephrel::~Zephrel() {
    // The module is being unloaded: a failing step is logged and the others still run. A
    // recording that could not be saved is kept for the next start. A video is ended first, before
    // its playback would end it, and without its summary: nobody is there to read it.
    stopLogged("the rendering", [this] { endRendering(false, false); });
    const bool recordingStopped = stopLogged("the recording", [this] {
        if (recording_)
            stopRecording(false);
    });
    if (recording_ && !recordingStopped)
        keepUnsavedRecording(false);
    stopLogged("the playback", [this] {
        if (playing_)
            stopPlayback(true);
    });
}

int Zephrel::callback(int event, intptr_t a, intptr_t b, intptr_t c) {
    try {
        return onEvent(event, a, b, c);
    } catch (const ZephrelException& e) {
        if (e.severity >= ZephrelException::DisablesModule)
            throw; // the host interface makes the module inert
        // What failed in a host event may be the background recording itself, which would fail
        // again in every frame.
        afterError(e, true);
        return 0;
    }
}

int Zephrel::onEvent(int event, intptr_t a, intptr_t, intptr_t) {
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

void Zephrel::afterError(const ZephrelException& e, bool withBackground) {
    showError(e.userText, e.severity);
    if (e.severity != ZephrelException::StopsRecordingAndPlayback)
        return;
    // Each stop may fail in turn: what it leaves running is then dropped without more questions,
    // but for a recording, whose data is kept for a later save. The user may choose to go on
    // recording instead of saving, as after any cancelled save.
    stopLogged("the playback", [this] {
        if (playing_)
            stopPlay(false);
    });
    const bool recordingStopped = stopLogged("the recording", [this] {
        if (recording_)
            stopRecording(true);
    });
    stopLogged("the instant replay", [this, withBackground] {
        if (withBackground && replayRecording_)
            stopReplayRec();
    });
    if (playing_) {
        player_.reset();
        if (replayPlayback_)
            recorder_.reset(); // the background recorder kept through the replay
        playing_ = userPlayback_ = replayPlayback_ = false;
    }
    if (recording_ && !recordingStopped)
        keepUnsavedRecording(true);
    if (withBackground && replayRecording_) {
        recorder_.reset();
        replayRecording_ = false;
    }
    updateMenus();
}

void Zephrel::keepUnsavedRecording(bool tell) {
    std::optional<std::string> kept;
    try {
        kept = recorder_->keepForLater();
    } catch (const ZephrelException&) {
        // Written to the log as it was made; the files stay where they are.
    }
    recorder_.reset();
    recording_ = false;
    if (!kept) {
        Log::log("Error: the recording could not be saved nor set aside", 1, false);
        return;
    }
    Log::log("Warning: the recording could not be saved; it is kept as '" + *kept + "'", 1, false);
    if (tell)
        showMessageBox({"The recording could not be saved. Its data is kept in the files '" + *kept +
                            ".tmp0' to '.tmp2': Zephrel offers to save it when it starts again, and 'zfl-info "
                            "--recover " + *kept + " FILE.zfl' saves it at any time.",
                        "Zephrel", MessageIcon::Warning, MessageButtons::Ok});
}

bool Zephrel::isRenderingPaused() const {
    return rendering_ && seams_.video->isPaused(); // rendering only ever starts through the renderer
}

// ---- host events ----

void Zephrel::onStart() {
    readAllSettings();
    // A recording the last session did not end is moved out of the way of the next one before
    // anything records; the user is asked about it in the first frame.
    InterruptedRecording::setAside(tempPath(general_, Recorder::kFilesName));
    started_ = true;
}

void Zephrel::offerInterruptedRecordings() {
    for (const std::string& kept : InterruptedRecording::findAll(tempPath(general_, ""))) {
        try {
            const MessageBoxRequest question{InterruptedRecording::summarize(kept).question(), "Zephrel",
                                             MessageIcon::Question, MessageButtons::YesNo};
            if (showMessageBox(question) != AnswerYes) {
                InterruptedRecording::discard(kept);
                continue;
            }
            std::string name;
            // Cancelled, it is kept and asked about again at the next start.
            if (askRecordingFile(name))
                InterruptedRecording::save(kept, name);
        } catch (const ZephrelException& e) {
            showError(e.userText, ZephrelException::Error);
        }
    }
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
    endRendering(false, false); // the simulator is closing: no summary to read
    if (recording_)
        stopRecording(false);
    if (playing_)
        stopPlayback(true);
    if (replayRecording_)
        stopReplayRec();
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
        if (equalsIgnoringCase(recordingTitle(entry.flt), loaded)) {
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
        throw ZephrelException::invalidCall("Zephrel::startRec", __LINE__);
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
    win::SYSTEMTIME now;
    win::GetLocalTime(now);
    recorder->start(startTime, 0,
                    RecordingDate{now.wYear, static_cast<uint8_t>(now.wMonth), static_cast<uint8_t>(now.wDay),
                                  static_cast<uint8_t>(now.wHour), static_cast<uint8_t>(now.wMinute),
                                  static_cast<uint8_t>(now.wSecond)});
    recorder_ = std::move(recorder);
    recording_ = true;
    updateMenus();
}

void Zephrel::stopRec(const std::string& fileName) {
    if (!recording_)
        throw ZephrelException::invalidCall("Zephrel::stopRec", __LINE__);
    recorder_->stop(fileName);
    recorder_.reset();
    recording_ = false;
    updateMenus();
    if (!playing_ && general_.enableReplay)
        startReplayRec();
}

void Zephrel::startReplayRec() {
    if (recording_ || playing_)
        throw ZephrelException::invalidCall("Zephrel::startReplayRec", __LINE__);
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
        throw ZephrelException::invalidCall("Zephrel::stopReplayRec", __LINE__);
    recorder_->stop("");
    recorder_.reset();
    replayRecording_ = false;
    updateMenus();
}

// ---- playback ----

void Zephrel::startPlay(const PlayList& list, bool noRestore) {
    const bool userTrack = list.namesUserTrack();
    if ((userPlayback_ || recording_) && userTrack)
        throw ZephrelException::invalidCall("Zephrel::startPlay", __LINE__);
    if (!list.selectsAnyTrack())
        return;
    if (playing_) {
        player_->start(list, false, 0);
    } else {
        auto player = std::make_unique<Player>(&general_, seams_.player);
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
        throw ZephrelException::invalidCall("Zephrel::stopPlay", __LINE__);
    // A video of the playback ends with it; a video that cannot be ended does not keep the
    // playback running.
    std::exception_ptr renderingFailure;
    try {
        stopRendering(false);
    } catch (const ZephrelException&) {
        renderingFailure = std::current_exception();
    }
    const bool afterReplay = replayPlayback_;
    try {
        player_->stop(noRestore || afterReplay);
    } catch (...) {
        // The replay's recording is of no use once its playback ends, however it ends.
        if (afterReplay)
            removeReplayFile();
        throw;
    }
    player_.reset();
    playing_ = false;
    userPlayback_ = false;
    replayPlayback_ = false;
    if (afterReplay)
        removeReplayFile();
    if (!recording_ && general_.enableReplay) {
        if (afterReplay)
            replayRecording_ = true; // the background recorder was kept through the replay and goes on
        else
            startReplayRec();
    } else if (afterReplay) {
        recorder_.reset(); // the kept background recorder is not wanted any more
    }
    updateMenus();
    if (renderingFailure)
        std::rethrow_exception(renderingFailure);
}
