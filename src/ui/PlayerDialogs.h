#pragma once

#include <string>
#include <utility>
#include <vector>

#include "playback/PlayerSeams.h"

// The player's questions as the user meets them: message boxes and the markers' save dialog over
// the simulator's main window. The settings file keeps the save dialog's folder.
class PlayerDialogs : public PlayerPrompts {
public:
    explicit PlayerDialogs(std::string settingsFile) : settingsFile_(std::move(settingsFile)) {}

    void refuseDuringMultiplayer() override;
    bool convertOldRecording(const std::string& path) override;
    void offerNewMarkers(const std::vector<Marker>& markers) override;

private:
    std::string settingsFile_;
};
