#include "app/Zephrel.h"

#include <algorithm>
#include <filesystem>

#include "alerts/MessageBox.h"
#include "alerts/ShowError.h"
#include "app/RecordingName.h"
#include "app/TempRecordFiles.h"
#include "common/ZephrelException.h"
#include "common/ZflFile.h"
#include "host/FSinterface.h"
#include "playback/PlayableParts.h"
#include "profile/ProfileValues.h"
#include "settings/TempFolder.h"
#include "text/AsciiCase.h"
#include "ui/RecordingFileDialog.h"
#include "winsys/LocalTime.h"

namespace {

constexpr const char* kTempRecordFlight = "ZephrelTempRecord";

// The flight saved with the recording before its name was known goes next to the recording,
// titled like it, or away with a discarded recording.
void keepTempRecordFlight(const GeneralSettings& general, const std::string& recordingName) {
    for (const std::string& moved : moveTempRecordFiles(tempPath(general, kTempRecordFlight), recordingName))
        if (equalsIgnoringCase(std::filesystem::path(moved).extension().string(), ".flt"))
            profile::writeString(moved, "Main", "Title", recordingTitle(recordingName));
}

} // namespace

// ---- recording ----

void Zephrel::record() {
    if (recording_ || userPlayback_)
        return;
    if (general_.showRecDialog) {
        RecordingSettings edited = recordingSettings_;
        if (seams_.settingsDialogs != nullptr && !seams_.settingsDialogs->recordingSettings(edited))
            return;
        recordingSettings_ = edited;
        writeRecordingSettings(settingsFile_, RecordingBlock::Recording, recordingSettings_);
    }
    recordingName_.clear();
    flightSavedToTemp_ = false;
    if (general_.fileDialog && general_.fileDialogBefore) {
        if (!askRecordingFile(recordingName_))
            return;
        if (recordingSettings_.saveFlight)
            FSinterface::saveFlight(recordingName_, recordingTitle(recordingName_), "");
    } else if (recordingSettings_.saveFlight) {
        // Files left by an earlier session must not pass for this recording's flight.
        const std::string base = tempPath(general_, kTempRecordFlight);
        moveTempRecordFiles(base, "");
        flightSavedToTemp_ = FSinterface::saveFlight(base, "Zephrel automatically saved flight", "");
    }
    startRec();
}

void Zephrel::stopRecording(bool ask) {
    if (!recording_)
        return;
    std::string name;
    if (!general_.fileDialog) {
        win::SYSTEMTIME now;
        win::GetLocalTime(now);
        name = automaticRecordingName(FSinterface::getFlightsFolder(), now);
    } else if (general_.fileDialogBefore) {
        name = recordingName_;
    } else if (!askRecordingFile(name) && ask) {
        const MessageBoxRequest question{"Do you want to continue recording?", "Zephrel",
                                         MessageIcon::Question, MessageButtons::YesNo};
        if (showMessageBox(question) == AnswerYes)
            return;
    }
    recordingName_ = name;
    if (flightSavedToTemp_)
        keepTempRecordFlight(general_, name);
    flightSavedToTemp_ = false;
    stopRec(name);
}

bool Zephrel::askRecordingFile(std::string& fileName) {
    std::string chosen = RecordingFileDialog::askToSave(settingsFile_, "Save Recorded Flight");
    if (chosen.empty())
        return false;
    fileName = std::move(chosen);
    return true;
}

// ---- playback ----

void Zephrel::play() {
    if (userPlayback_ || recording_ || multiplayerRefused() || !playbackDialogConfirmed())
        return;
    const std::vector<std::string> chosen = RecordingFileDialog::askToOpen(settingsFile_, "Open Recorded Flight", false);
    if (chosen.empty())
        return;
    playFile(chosen.front(), false);
    if (playbackSettings_.loadFlight && userPlayback_)
        FSinterface::loadFlight(chosen.front());
}

void Zephrel::playFile(const std::string& fileName, bool asTraffic) {
    if (userPlayback_ || recording_ || FSinterface::isOnlineContactsOpen())
        return;
    PlayList list;
    if (!addPlayFile(list, fileName) || refusedAsEmpty(list))
        return;
    if (!asTraffic) {
        list.userFile = 0;
        list.userTrack = 0;
    }
    startPlay(list, false);
}

void Zephrel::playAsTraffic() {
    if (replayPlayback_ || multiplayerRefused() || !playbackDialogConfirmed())
        return;
    const std::vector<std::string> chosen = RecordingFileDialog::askToOpen(settingsFile_, "Open Recorded Flights", true);
    if (chosen.empty())
        return;
    PlayList list;
    for (const std::string& fileName : chosen)
        addPlayFile(list, fileName);
    if (!list.files.empty() && !refusedAsEmpty(list))
        startPlay(list, false);
}

// Files of markers alone play with a recording, never by themselves.
bool Zephrel::refusedAsEmpty(const PlayList& list) const {
    if (list.selectsAnyTrack())
        return false;
    const std::string text = list.files.size() == 1
                                 ? "The file '" + list.files.front().fileName + "' holds no flight to play!"
                                 : std::string("The chosen files hold no flight to play!");
    showMessageBox({text, "Zephrel", MessageIcon::Warning, MessageButtons::Ok});
    return true;
}

void Zephrel::advancedPlay() {
    if ((playing_ && recording_) || replayPlayback_ || multiplayerRefused() ||
        seams_.playListEditor == nullptr)
        return;
    PlayList list = playing_ ? player_->playList() : PlayList{};
    if (!seams_.playListEditor->edit(list))
        return;
    if (!playing_) {
        startPlay(list, false);
        const bool userFileListed =
            list.userFile >= 0 && static_cast<std::size_t>(list.userFile) < list.files.size();
        if (userFileListed && playbackSettings_.loadFlight && userPlayback_)
            FSinterface::loadFlight(list.files[static_cast<std::size_t>(list.userFile)].fileName);
        return;
    }
    // The new list replaces the running one and plays on from where that one was.
    const uint32_t clock = player_->now();
    const bool noRestore = userPlayback_ || !list.namesUserTrack();
    stopPlay(noRestore);
    startPlay(list, noRestore);
    if (player_ != nullptr)
        player_->setTime(clock);
}

bool Zephrel::multiplayerRefused() const {
    if (!FSinterface::isOnlineContactsOpen())
        return false;
    seams_.player.prompts->refuseDuringMultiplayer();
    return true;
}

bool Zephrel::playbackDialogConfirmed() {
    if (!general_.showPlayDialog)
        return true;
    PlaybackSettings edited = playbackSettings_;
    if (seams_.settingsDialogs != nullptr && !seams_.settingsDialogs->playbackSettings(edited))
        return false;
    playbackSettings_ = edited;
    writePlaybackSettings(settingsFile_, playbackSettings_);
    return true;
}

void Zephrel::selectTracks(ZflFile& zfl, PlayFile& file, bool withMarkers) const {
    const uint32_t tracks = general_.playRecAI ? zfl.getNTracks() : std::min<uint32_t>(zfl.getNTracks(), 1);
    for (uint32_t index = 0; index < tracks; ++index) {
        PlayTrack track;
        track.index = index;
        track.contFlags = playbackSettings_.contFlags;
        track.discFlags = playbackSettings_.discFlags;
        file.tracks.push_back(track);
    }
    if (withMarkers)
        for (uint32_t index = 0; index < zfl.getNMarkers(); ++index)
            file.markers.push_back(index);
}

bool Zephrel::addPlayFile(PlayList& list, const std::string& fileName) const {
    PlayFile file{fileName, 0, {}, {}};
    // A file that cannot be played only keeps itself from being played: what runs goes on.
    try {
        if (ZflFile::checkOldVersion(fileName) && !seams_.player.prompts->convertOldRecording(fileName))
            return false;
        ZflFile zfl;
        zfl.open(fileName, ZflFile::Read);
        selectTracks(zfl, file, playbackSettings_.loadMarkers);
        const std::optional<std::string> reason = unplayablePart(zfl, file);
        zfl.close();
        if (reason) {
            const ZephrelException damaged(ErrorCode::InvalidFile, ZephrelException::Error, "Zephrel::addPlayFile",
                                           __LINE__, fileName);
            showError(damaged.userText + " (" + *reason + ")", damaged.severity);
            return false;
        }
    } catch (const ZephrelException& e) {
        showError(e.userText, ZephrelException::Error);
        return false;
    }
    list.files.push_back(std::move(file));
    return true;
}

// ---- settings ----

void Zephrel::settingsDialog() {
    if (recording_ || playing_ || rendering_)
        return;
    GeneralSettings general = general_;
    RecordingSettings recording = recordingSettings_;
    PlaybackSettings playback = playbackSettings_;
    RecordingSettings replay = replaySettings_;
    const bool confirmed =
        seams_.settingsDialogs == nullptr || seams_.settingsDialogs->settings(general, recording, playback, replay);
    // The dialogs opened from it write their own sections and the automatic playback list as soon as
    // they are confirmed, whether the settings dialog is then confirmed or not.
    autoplay_ = readAutoplayList(settingsFile_);
    if (!confirmed) {
        readRecordingSettings(settingsFile_, RecordingBlock::Recording, recordingSettings_);
        readPlaybackSettings(settingsFile_, playbackSettings_);
        readRecordingSettings(settingsFile_, RecordingBlock::Replay, replaySettings_);
        return;
    }
    // Assigned in place: the instant replay's recorder reads these blocks through pointers.
    general_ = general;
    recordingSettings_ = recording;
    playbackSettings_ = playback;
    replaySettings_ = replay;
    writeGeneralSettings(settingsFile_, general_);
    writeRecordingSettings(settingsFile_, RecordingBlock::Recording, recordingSettings_);
    writePlaybackSettings(settingsFile_, playbackSettings_);
    writeRecordingSettings(settingsFile_, RecordingBlock::Replay, replaySettings_);
    if (replayRecording_)
        stopReplayRec();
    if (general_.enableReplay)
        startReplayRec();
}

