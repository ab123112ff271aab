#include "ui/CameraVCDlg.h"

#include "ui/ModuleResources.h"

namespace {
constexpr int kLabelId = -1;
} // namespace

CameraVCDlg::CameraVCDlg(VCParams& params) : CameraEditDlg(ModuleResources::kCameraVCDialog, params), params_(params) {
    addLengthGroup({kUnitId, {kLeftRightId, kUpDownId, kFrontBackId}, LengthUnits::heights(), 0});
}

win::DialogTemplate CameraVCDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate vc;
    vc.id = ModuleResources::kCameraVCDialog;
    vc.title = "Edit VC Camera";
    vc.width = 244;
    vc.controls = {
        {kLabelId, GroupBox, "Position", {7, 40, 230, 62}, 0},
        {kLabelId, Text, "Left/Right:", {14, 52, 60, 8}, 0},
        {kLeftRightId, Edit, "", {80, 50, 50, 12}, 0},
        {kLabelId, Text, "Up/Down:", {14, 66, 60, 8}, 0},
        {kUpDownId, Edit, "", {80, 64, 50, 12}, 0},
        {kLabelId, Text, "Front/Back:", {14, 80, 60, 8}, 0},
        {kFrontBackId, Edit, "", {80, 78, 50, 12}, 0},
        {kUnitId, PushButton, "m", {134, 64, 20, 12}, 0},
        {kLabelId, Text, "Pitch:", {160, 52, 30, 8}, 0},
        {kPitchId, Edit, "", {192, 50, 38, 12}, 0},
        {kLabelId, Text, "Bank:", {160, 66, 30, 8}, 0},
        {kBankId, Edit, "", {192, 64, 38, 12}, 0},
        {kLabelId, Text, "Heading:", {160, 80, 30, 8}, 0},
        {kHeadingId, Edit, "", {192, 78, 38, 12}, 0},
        {kFixedDirId, AutoCheckBox, "Fixed Direction", {14, 92, 80, 10}, 0},
    };
    const int bottom = addCommonControls(vc.controls, 108);
    vc.controls.push_back({win::IDOK, DefPushButton, "OK", {130, bottom, 50, 14}, 0});
    vc.controls.push_back({win::IDCANCEL, PushButton, "Cancel", {186, bottom, 50, 14}, 0});
    vc.height = bottom + 20;
    return vc;
}

void CameraVCDlg::fill() {
    showLength(kLeftRightId, params_.x);
    showLength(kUpDownId, params_.y);
    showLength(kFrontBackId, params_.z);
    setFloat(kPitchId, params_.pitch, 1);
    setFloat(kBankId, params_.bank, 1);
    setFloat(kHeadingId, params_.heading, 1);
    setCheck(kFixedDirId, params_.fixedDir);
}

void CameraVCDlg::read() {
    params_.x = static_cast<float>(readLength(kLeftRightId));
    params_.y = static_cast<float>(readLength(kUpDownId));
    params_.z = static_cast<float>(readLength(kFrontBackId));
    params_.pitch = static_cast<float>(getFloat(kPitchId));
    params_.bank = static_cast<float>(getFloat(kBankId));
    params_.heading = static_cast<float>(getFloat(kHeadingId));
    params_.fixedDir = getCheck(kFixedDirId);
}
