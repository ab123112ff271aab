#pragma once

#include <string>

#include "cameras/CameraParams.h"
#include "settings/Settings.h"

// The windows the camera manager shows: the edit dialogs, the camera settings dialog and the
// camera files' dialogs. Each dialog shows the record it is given and writes it back only on OK;
// each answers whether the user pressed OK.
class CameraDialogs {
public:
    virtual ~CameraDialogs() = default;
    virtual bool editVC(VCParams& params) = 0;
    virtual bool editTower(TowerParams& params) = 0;
    virtual bool editSpot(SpotParams& params) = 0;
    virtual bool editSettings(CameraSettings& settings) = 0;
    // The camera file of a kind (1 VC, 2 tower, 3 spot) to load or to save; empty when cancelled.
    virtual std::string cameraFile(int kind, bool save) = 0;
};
