#pragma once

#include "settings/Settings.h"
#include "ui/Dialog.h"

// "Zephrel Camera Settings": the steps of the camera keys, the tower's and spot cameras' key
// behaviour, the smoothing filters' kinds, and the display and mouse options.
class CameraSettingsDlg : public Dialog {
public:
    static constexpr int kPosVCId = 1001;
    static constexpr int kMoveFocusId = 1002; // "Move" "Focus Point" / "Camera"
    static constexpr int kMoveCameraId = 1003;
    static constexpr int kPosTower1Id = 1004;
    static constexpr int kPosTower2Id = 1005;
    static constexpr int kPosTower3Id = 1006;
    static constexpr int kPanFocusId = 1007;
    static constexpr int kPanTowerIncId = 1008;
    static constexpr int kPosSpotId = 1009;
    static constexpr int kSlew1Id = 1010;
    static constexpr int kSlew2Id = 1011;
    static constexpr int kSlew3Id = 1012;
    static constexpr int kWheelFollowId = 1013;
    static constexpr int kWheelFlybyId = 1014;
    static constexpr int kSmoothPosId = 1015;
    static constexpr int kSmoothPanId = 1016;
    static constexpr int kSmoothZoomId = 1017;
    static constexpr int kPauseSmoothingId = 1018;
    static constexpr int kDisplayId = 1019;
    static constexpr int kPan180Id = 1020;
    static constexpr int kPan360Id = 1021;
    static constexpr int kMidButtonId = 1022;

    explicit CameraSettingsDlg(CameraSettings& settings);
    static win::DialogTemplate dialogTemplate();

protected:
    bool onInitDialog() override;
    bool onOk() override;

private:
    void store();

    CameraSettings& settings_;
};
