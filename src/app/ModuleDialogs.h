#pragma once

#include <string>

#include "app/ControllerSeams.h"

// The module's dialogs behind the controller's seams: "Zephrel Settings" with the dialogs it opens,
// "Recording Settings" and "Playback Settings" before a recording or a playback, and "Advanced
// Playback" with the simulator's installed aircraft to choose from. Each is owned by the
// simulator's main window.
class ModuleDialogs : public SettingsDialogs, public PlayListEditor {
public:
    explicit ModuleDialogs(std::string settingsFile);

    bool recordingSettings(RecordingSettings& recording) override;
    bool playbackSettings(PlaybackSettings& playback) override;
    bool settings(GeneralSettings& general, RecordingSettings& recording, PlaybackSettings& playback,
                  RecordingSettings& replay) override;
    bool edit(PlayList& list) override;

private:
    std::string settingsFile_;
};
