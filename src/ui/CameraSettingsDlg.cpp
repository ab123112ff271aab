#include "ui/CameraSettingsDlg.h"

#include "cameras/Smooth.h"
#include "ui/ModuleResources.h"

namespace {

constexpr int kLabelId = -1;
constexpr int kStepDecimals = 3;
// The position filters offer the three orders; angles and zoom also the constant-rate kinds.
constexpr int kPositionKinds = 3;
constexpr int kAllKinds = 5;

struct StepField {
    int id;
    double CameraSettings::*value;
};
constexpr StepField kSteps[] = {
    {CameraSettingsDlg::kPosVCId, &CameraSettings::posIncrementVC},
    {CameraSettingsDlg::kPosTower1Id, &CameraSettings::posIncrementTower1},
    {CameraSettingsDlg::kPosTower2Id, &CameraSettings::posIncrementTower2},
    {CameraSettingsDlg::kPosTower3Id, &CameraSettings::posIncrementTower3},
    {CameraSettingsDlg::kPosSpotId, &CameraSettings::posIncrementSpot},
    {CameraSettingsDlg::kSlew1Id, &CameraSettings::slewIncrementSpot1},
    {CameraSettingsDlg::kSlew2Id, &CameraSettings::slewIncrementSpot2},
    {CameraSettingsDlg::kSlew3Id, &CameraSettings::slewIncrementSpot3},
};

struct CheckField {
    int id;
    bool CameraSettings::*value;
};
constexpr CheckField kChecks[] = {
    {CameraSettingsDlg::kPanFocusId, &CameraSettings::panFocus},
    {CameraSettingsDlg::kPanTowerIncId, &CameraSettings::panTowerInc},
    {CameraSettingsDlg::kWheelFollowId, &CameraSettings::mouseWheelDistSpotFollow},
    {CameraSettingsDlg::kWheelFlybyId, &CameraSettings::mouseWheelDistSpotFlyby},
    {CameraSettingsDlg::kPauseSmoothingId, &CameraSettings::pauseSmoothing},
    {CameraSettingsDlg::kDisplayId, &CameraSettings::display},
    {CameraSettingsDlg::kMidButtonId, &CameraSettings::midButtonPan},
};

struct KindList {
    int id;
    int32_t CameraSettings::*value;
    int kinds;
    SmoothRole role; // whose default kind a stored kind outside the list stands for
};
constexpr KindList kKindLists[] = {
    {CameraSettingsDlg::kSmoothPosId, &CameraSettings::smoothTypePos, kPositionKinds, SmoothRole::Position},
    {CameraSettingsDlg::kSmoothPanId, &CameraSettings::smoothTypePan, kAllKinds, SmoothRole::ViewAngles},
    {CameraSettingsDlg::kSmoothZoomId, &CameraSettings::smoothTypeZoom, kAllKinds, SmoothRole::Zoom},
};

} // namespace

CameraSettingsDlg::CameraSettingsDlg(CameraSettings& settings)
    : Dialog(ModuleResources::kCameraSettingsDialog, ModuleResources::instance()), settings_(settings) {}

win::DialogTemplate CameraSettingsDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate s;
    s.id = ModuleResources::kCameraSettingsDialog;
    s.title = "Zephrel Camera Settings";
    s.width = 300;
    s.height = 300;
    s.controls = {
        {kLabelId, GroupBox, "VC Controls", {7, 4, 286, 26}, 0},
        {kLabelId, Text, "Move Eyepoint: Move Camera by", {14, 16, 140, 8}, 0},
        {kPosVCId, Edit, "", {160, 14, 40, 12}, 0},
        {kLabelId, Text, "m", {204, 16, 20, 8}, 0},
        {kLabelId, GroupBox, "Tower Controls", {7, 34, 286, 92}, 0},
        {kLabelId, Text, "Move Eyepoint: Move", {14, 46, 80, 8}, 0},
        {kMoveFocusId, AutoRadioButton, "Focus Point", {100, 45, 60, 10}, 0},
        {kMoveCameraId, AutoRadioButton, "Camera", {164, 45, 50, 10}, 0},
        {kLabelId, Text, "Move Eyepoint: Move Camera by", {14, 60, 140, 8}, 0},
        {kPosTower1Id, Edit, "", {160, 58, 40, 12}, 0},
        {kLabelId, Text, "m", {204, 60, 20, 8}, 0},
        {kLabelId, Text, "Look <Direction>: Move Camera by", {14, 74, 140, 8}, 0},
        {kPosTower2Id, Edit, "", {160, 72, 40, 12}, 0},
        {kLabelId, Text, "m", {204, 74, 20, 8}, 0},
        {kLabelId, Text, "Look <Direction> Up: Move Camera by", {14, 88, 140, 8}, 0},
        {kPosTower3Id, Edit, "", {160, 86, 40, 12}, 0},
        {kLabelId, Text, "m", {204, 88, 20, 8}, 0},
        {kPanFocusId, AutoCheckBox, "Panning during Autopan moves Focus Point", {14, 100, 180, 10}, 0},
        {kPanTowerIncId, AutoCheckBox, "Incremental Mouse Panning", {14, 112, 180, 10}, 0},
        {kLabelId, GroupBox, "Spot Controls", {7, 130, 286, 92}, 0},
        {kLabelId, Text, "Move Eyepoint: Move Camera by", {14, 142, 140, 8}, 0},
        {kPosSpotId, Edit, "", {160, 140, 40, 12}, 0},
        {kLabelId, Text, "m", {204, 142, 20, 8}, 0},
        {kLabelId, Text, "Free Mode:", {14, 156, 60, 8}, 0},
        {kLabelId, Text, "Move Eyepoint: Increase Speed by", {14, 168, 140, 8}, 0},
        {kSlew1Id, Edit, "", {160, 166, 40, 12}, 0},
        {kLabelId, Text, "m/s", {204, 168, 20, 8}, 0},
        {kLabelId, Text, "Look <Direction>: Increase Speed by", {14, 182, 140, 8}, 0},
        {kSlew2Id, Edit, "", {160, 180, 40, 12}, 0},
        {kLabelId, Text, "Look <Direction> Up: Increase Speed by", {14, 196, 140, 8}, 0},
        {kSlew3Id, Edit, "", {160, 194, 40, 12}, 0},
        {kLabelId, Text, "m/s", {204, 182, 20, 8}, 0},
        {kLabelId, Text, "m/s", {204, 196, 20, 8}, 0},
        {kLabelId, Text, "Follow Mode:", {14, 208, 50, 8}, 0},
        {kWheelFollowId, AutoCheckBox, "Mouse Wheel adjusts distance", {66, 207, 120, 10}, 0},
        {kLabelId, Text, "Fly By Mode:", {14, 220, 50, 8}, 0},
        {kWheelFlybyId, AutoCheckBox, "Mouse Wheel adjusts distance", {66, 219, 120, 10}, 0},
        {kLabelId, GroupBox, "Smoothing", {7, 234, 140, 56}, 0},
        {kLabelId, Text, "Position:", {14, 246, 40, 8}, 0},
        {kSmoothPosId, ComboBox, "", {56, 244, 86, 60}, 0},
        {kLabelId, Text, "Panning:", {14, 260, 40, 8}, 0},
        {kSmoothPanId, ComboBox, "", {56, 258, 86, 60}, 0},
        {kLabelId, Text, "Zoom:", {14, 274, 40, 8}, 0},
        {kSmoothZoomId, ComboBox, "", {56, 272, 86, 60}, 0},
        {kPauseSmoothingId, AutoCheckBox, "Pause when FS is paused", {154, 236, 130, 10}, 0},
        {kDisplayId, AutoCheckBox, "Display Title/Aircraft on Change", {154, 248, 140, 10}, 0},
        {kLabelId, Text, "Mouse Panning:", {154, 262, 56, 8}, 0},
        {kPan180Id, AutoRadioButton, "±180°", {212, 261, 36, 10}, 0},
        {kPan360Id, AutoRadioButton, "±360°", {250, 261, 36, 10}, 0},
        {kMidButtonId, AutoCheckBox, "Middle Button activates Mouse Panning", {154, 274, 140, 10}, 0},
        {win::IDOK, DefPushButton, "OK", {180, 292, 50, 14}, 0},
        {win::IDCANCEL, PushButton, "Cancel", {236, 292, 50, 14}, 0},
    };
    s.height = 312;
    return s;
}

bool CameraSettingsDlg::onInitDialog() {
    for (const StepField& step : kSteps)
        setFloat(step.id, settings_.*step.value, kStepDecimals);
    for (const CheckField& check : kChecks)
        setCheck(check.id, settings_.*check.value);
    setCheck(settings_.moveTower1Target ? kMoveFocusId : kMoveCameraId, true);
    setCheck(settings_.pan360 ? kPan360Id : kPan180Id, true);
    for (const KindList& list : kKindLists) {
        for (int kind = 1; kind <= list.kinds; ++kind)
            addItem(list.id, smoothKindName(kind));
        const int stored = settings_.*list.value;
        const int kind = stored >= 1 && stored <= list.kinds ? stored : makeSmooth(stored, list.role)->kind();
        setSelection(list.id, kind - 1);
    }
    return true;
}

bool CameraSettingsDlg::onOk() {
    store();
    return true;
}

void CameraSettingsDlg::store() {
    for (const StepField& step : kSteps)
        settings_.*step.value = getFloat(step.id);
    for (const CheckField& check : kChecks)
        settings_.*check.value = getCheck(check.id);
    settings_.moveTower1Target = getCheck(kMoveFocusId);
    settings_.pan360 = getCheck(kPan360Id);
    for (const KindList& list : kKindLists)
        settings_.*list.value = getSelection(list.id) + 1;
}
