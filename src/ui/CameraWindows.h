#pragma once

#include <string>

#include "cameras/CameraDialogs.h"

// The camera manager's windows: the camera files' open and save dialogs (starting in the folder
// kept under "CamPath") and the edit and settings dialogs.
class CameraWindows : public CameraDialogs {
public:
    explicit CameraWindows(std::string settingsFile) : settingsFile_(std::move(settingsFile)) {}

    bool editVC(VCParams& params) override;
    bool editTower(TowerParams& params) override;
    bool editSpot(SpotParams& params) override;
    bool editSettings(CameraSettings& settings) override;
    std::string cameraFile(int kind, bool save) override;

private:
    std::string settingsFile_;
};
