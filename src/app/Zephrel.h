#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ControllerSeams.h"
#include "app/MarkerFiring.h"
#include "common/ZephrelException.h"
#include "host/ModuleEvents.h"
#include "playback/PlayList.h"
#include "playback/Player.h"
#include "recording/Recorder.h"
#include "settings/Settings.h"
#include "ui/PlayerDialogs.h"

// The module's controller: receives the host events, owns the recorder and the player, keeps the
// state that decides which command is allowed, runs the per-frame work and the status line, keeps
// the module's menu entries current, and runs the file dialogs and the automatic naming around
// recording and playback. The keyboard commands and the menu call its command operations.
class Zephrel : public IFScallback {
public:
    // The settings file is "Zephrel.ini" in the module folder.
    explicit Zephrel(std::string moduleFolder, ControllerSeams seams = {});
    // Stops what runs: a recording (saved as the stop does), a playback, a rendering.
    ~Zephrel() override;
    Zephrel(const Zephrel&) = delete;
    Zephrel& operator=(const Zephrel&) = delete;

    // Errors of what the event started are shown here (severity 2 stops recording and playback);
    // one that disables the module passes on.
    int callback(int event, intptr_t a, intptr_t b, intptr_t c) override;
    // A failure caught at an entry point: shown, and with severity 2 recording and playback are
    // stopped, and the background recording too when asked.
    void afterError(const ZephrelException& e, bool withBackground);

    // ---- state ----
    bool isRecording() const { return recording_; }
    bool isReplayRecording() const { return replayRecording_; }
    bool isPlaying() const { return playing_; }
    bool isUserPlayback() const { return userPlayback_; }
    bool isReplayPlayback() const { return replayPlayback_; }
    bool isRendering() const { return rendering_; }
    bool isRenderingPaused() const;
    const GeneralSettings& settings() const { return general_; }
    const std::string& settingsFile() const { return settingsFile_; }
    const Player* player() const { return player_.get(); }
    const Recorder* recorder() const { return recorder_.get(); }
    const std::string& recordingName() const { return recordingName_; }

    // ---- the state changes; a call the state forbids throws ZephrelException::invalidCall ----
    void startRec();
    void stopRec(const std::string& fileName); // empty: discarded
    void startReplayRec();
    void stopReplayRec();
    void startPlay(const PlayList& list, bool noRestore);
    void stopPlay(bool noRestore);
    // The instant replay: the last seconds played on the user aircraft while the background
    // recorder rests, or saved while it goes on.
    void startReplay(uint32_t seconds);
    void saveReplay(const std::string& fileName, uint32_t seconds);
    // The seconds the background recording holds (0 when it does not run).
    uint32_t replaySeconds();

    // ---- the menu's and the keys' commands, refused silently when the state forbids them ----
    void record();
    void stopRecording(bool ask); // ask: a cancelled save dialog asks whether to go on recording
    void play();
    void playFile(const std::string& fileName, bool asTraffic);
    void playAsTraffic();
    void advancedPlay();
    void instantReplay(); // the "Instant Replay" dialog: the last seconds replayed or saved
    void setMarker();     // a new marker in the marker dialog, for the recording or the playback
    void settingsDialog();
    void renderVideo();
    void stopRendering(bool aborted);
    void pauseRendering();
    void stopPlayback(bool force); // not forced: a user playback runs out to its end

    // Playback control: while playing, not recording, "EnableControls" set, and a user playback
    // or "EnableControlsAI".
    void forward(int level); // level 0 ends a search; 1..3 jump or search per the settings
    void backward(int level);
    void faster();
    void slower();
    void normalSpeed();
    void position(double fraction); // 0 = the beginning, 1 = the end
    void nextMarker();
    void previousMarker();
    void loopIn();
    void loopOut();
    void toggleLoop();
    void setLoop(bool on);

    // Only while a user playback runs.
    void nextUserTrack();
    void previousUserTrack();
    void altitudeUp();
    void altitudeDown();
    void pitchUp();
    void pitchDown();

    // The tool windows, toggled from the menu and the keys while they may be open: the control
    // window while playing (a user playback, or traffic with "EnableControlsAI"), the data window
    // while a user playback runs; neither while recording or rendering.
    void toggleControlWindow();
    void toggleDataWindow();

    // Sets the menu entries' texts and states and the windows' visibility after a state change.
    void updateMenus();

private:
    // host events
    int onEvent(int event, intptr_t a, intptr_t b, intptr_t c);
    void onStart();
    void onStop();
    void onFlightLoaded(const char* flightPath);
    void onAircraftLoaded();
    void frame();
    void renderingFrame();
    // Ends the rendering; its summary is shown only when asked for.
    void endRendering(bool aborted, bool showSummary);

    // the frame's steps
    void correctLevelDSpoilers();
    void showStatus();
    void updateWindows();
    bool controlWindowAllowed() const;
    bool dataWindowAllowed() const;

    bool controlsAllowed() const;
    std::size_t normalSpeedIndex() const; // the first entry of "Speeds" of at least 1
    void clearStatus();
    bool multiplayerRefused() const;              // shows the multiplayer box when a session runs
    bool playbackDialogConfirmed();               // the "Playback Settings" dialog, when it is asked for
    bool askRecordingFile(std::string& fileName); // the "Save Recorded Flight" dialog
    void selectTracks(ZflFile& zfl, PlayFile& file, bool withMarkers) const; // track 0, or all per "PlayRecAI"
    bool addPlayFile(PlayList& list, const std::string& fileName) const; // false: declined or unreadable
    bool refusedAsEmpty(const PlayList& list) const; // says so when the list holds no track to play
    uint32_t replayCut(uint32_t seconds) const; // the clock value the last seconds begin at
    void resumeReplayRec();                     // the rested background recorder goes on
    void removeReplayFile() const;              // the instant replay's recording file
    void readAllSettings();
    // A recording that could not be saved is kept for a later save; `tell` says where in a box.
    void keepUnsavedRecording(bool tell);
    // Asks about each recording an earlier session did not end: saved, or let go.
    void offerInterruptedRecordings();

    std::string moduleFolder_;
    std::string settingsFile_;
    ControllerSeams seams_;
    MarkerFiring markerFiring_;
    PlayerDialogs playerDialogs_;

    bool recording_ = false;
    bool replayRecording_ = false;
    bool playing_ = false;
    bool userPlayback_ = false;
    bool replayPlayback_ = false;
    bool rendering_ = false;
    bool busy_ = false;
    bool started_ = false; // the host's Start was seen: the menu entries exist from then on
    bool interruptedOffered_ = false;

    std::unique_ptr<Recorder> recorder_; // the normal recording or the instant replay's
    std::unique_ptr<Player> player_;

    GeneralSettings general_;
    RecordingSettings recordingSettings_;
    RecordingSettings replaySettings_;
    PlaybackSettings playbackSettings_;
    VideoSettings video_;
    Guid renderedCamera_; // the active view's camera in the last rendering frame
    std::vector<AutoplayEntry> autoplay_;
    std::size_t speedIndex_ = 0; // into general_.speeds
    std::string recordingName_;
    bool flightSavedToTemp_ = false; // the recording's flight went to "ZephrelTempRecord"

    bool wasOnGround_ = false; // for the Level-D spoiler correction's touchdown
    std::string statusText_;   // the status line, kept so that showing it allocates nothing
};
