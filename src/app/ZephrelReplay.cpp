#include "app/Zephrel.h"

#include <filesystem>
#include <system_error>

#include "alerts/MessageBox.h"
#include "common/Log.h"
#include "common/Ticks.h"
#include "host/FSinterface.h"
#include "settings/TempFolder.h"
#include "ui/InstantReplayDlg.h"
#include "ui/MarkerDlg.h"
#include "ui/RecordingFileDialog.h"

namespace {

constexpr const char* kReplayFile = "Zephrel.tmp3";

} // namespace

// ---- the instant replay ----

uint32_t Zephrel::replaySeconds() {
    if (!replayRecording_)
        return 0;
    return (recorder_->now() - recorder_->getStartTime()) / kTicksPerSecond;
}

uint32_t Zephrel::replayCut(uint32_t seconds) const {
    const uint64_t span = static_cast<uint64_t>(seconds) * kTicksPerSecond;
    // More than the ring holds starts at its oldest data; 0 would mean everything anyway.
    return span >= recorder_->now() ? 0 : recorder_->now() - static_cast<uint32_t>(span);
}

void Zephrel::instantReplay() {
    if (!replayRecording_ || playing_)
        return;
    if (FSinterface::isOnlineContactsOpen()) {
        showMessageBox({"Replay is not available while a multiplayer session is running!", "Zephrel",
                        MessageIcon::Warning, MessageButtons::Ok});
        return;
    }
    const int chosen = InstantReplayDlg::choose(static_cast<int>(replaySeconds()));
    if (chosen > 0) {
        startReplay(static_cast<uint32_t>(chosen));
    } else if (chosen < 0) {
        const std::string fileName = RecordingFileDialog::askToSave(settingsFile_, "Save Instant Replay");
        if (fileName.empty())
            return;
        saveReplay(fileName, static_cast<uint32_t>(-chosen));
    }
}

void Zephrel::startReplay(uint32_t seconds) {
    if (!replayRecording_)
        throw ZephrelException::invalidCall("Zephrel::startReplay", __LINE__);
    const std::string replayFile = tempPath(general_, kReplayFile);
    recorder_->save(replayFile, replayCut(seconds));
    // The recorder rests through the replay: the ring keeps what it held.
    replayRecording_ = false;
    replayPlayback_ = true;
    PlayList list;
    list.files.push_back(PlayFile{replayFile, 0, {}, {}});
    list.userFile = 0;
    list.userTrack = 0;
    try {
        ZflFile zfl;
        zfl.open(replayFile, ZflFile::Read);
        selectTracks(zfl, list.files.front(), false);
        zfl.close();
        startPlay(list, true);
    } catch (...) {
        resumeReplayRec();
        throw;
    }
    if (!playing_) // the player refused
        resumeReplayRec();
}

void Zephrel::resumeReplayRec() {
    replayPlayback_ = false;
    replayRecording_ = true;
    removeReplayFile();
    updateMenus();
}

void Zephrel::removeReplayFile() const {
    const std::string path = tempPath(general_, kReplayFile);
    std::error_code error;
    if (!std::filesystem::remove(path, error) && error)
        Log::log("Warning: Failed to delete file '" + path + "'", 1, false);
}

void Zephrel::saveReplay(const std::string& fileName, uint32_t seconds) {
    if (!replayRecording_)
        throw ZephrelException::invalidCall("Zephrel::saveReplay", __LINE__);
    recorder_->save(fileName, replayCut(seconds));
}

// ---- markers ----

void Zephrel::setMarker() {
    if (!recording_ && !playing_)
        return;
    Marker marker;
    marker.time = recording_ ? recorder_->now() : player_->now();
    marker.type = Marker::None;
    marker.flags = Marker::kChapter;
    marker.include = 1;
    std::vector<CameraChoice> cameras;
    if (seams_.cameras != nullptr)
        cameras = seams_.cameras->markerCameras();
    MarkerDlg dialog(marker, seams_.cameras != nullptr ? &cameras : nullptr, settingsFile_);
    if (!dialog.edit())
        return;
    // The dialog may have ended what ran (a flight loaded meanwhile): the marker has nowhere to go.
    if (recording_)
        recorder_->addMarker(marker);
    else if (playing_)
        player_->addMarker(marker);
}
