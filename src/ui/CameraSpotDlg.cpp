#include "ui/CameraSpotDlg.h"

#include <iterator>

#include "cameras/CameraSpot.h"
#include "ui/ModuleResources.h"

namespace {

constexpr int kLabelId = -1;
// The list's rows in the order shown, by spot mode.
constexpr int kModesShown[] = {CameraSpot::kFixed, CameraSpot::kFollowDirection, CameraSpot::kFollowHeading,
                               CameraSpot::kFlyBy, CameraSpot::kFree};

bool isFollow(int mode) {
    return mode == CameraSpot::kFollowDirection || mode == CameraSpot::kFollowHeading;
}

} // namespace

CameraSpotDlg::CameraSpotDlg(SpotParams& params)
    : CameraEditDlg(ModuleResources::kCameraSpotDialog, params), params_(params) {
    addLengthGroup({kPositionUnitId, {kSecondId}, LengthUnits::distances(), 1});
    addLengthGroup({kMaxDistanceUnitId, {kMaxDistanceId}, LengthUnits::distances(), 1});
}

win::DialogTemplate CameraSpotDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate spot;
    spot.id = ModuleResources::kCameraSpotDialog;
    spot.title = "Edit Spot Camera";
    spot.width = 244;
    spot.controls = {
        {kLabelId, Text, "Mode:", {140, 25, 24, 8}, 0},
        {kModeId, ComboBox, "", {166, 23, 72, 80}, 0},
        {kLabelId, GroupBox, "Position", {7, 40, 230, 76}, 0},
        {kFirstLabelId, Text, "Left/Right:", {14, 52, 60, 8}, 0},
        {kFirstId, Edit, "", {80, 50, 50, 12}, 0},
        {kSecondLabelId, Text, "Front/Back:", {14, 66, 60, 8}, 0},
        {kSecondId, Edit, "", {80, 64, 50, 12}, 0},
        {kPositionUnitId, PushButton, "m", {134, 64, 20, 12}, 0},
        {kLabelId, Text, "Up/Down:", {14, 80, 60, 8}, 0},
        {kUpDownId, Edit, "", {80, 78, 50, 12}, 0},
        {kSmoothPositionId, AutoCheckBox, "Smooth Position:", {14, 96, 64, 10}, 0},
        {kSmoothPositionSecondsId, Edit, "", {80, 95, 40, 12}, 0},
        {kLabelId, Text, "sec", {124, 97, 16, 8}, 0},
    };
    addPanningGroup(spot.controls, 120, "Max. Distance:");
    const int bottom = CameraEditDlg::addCommonControls(spot.controls, 200);
    spot.controls.push_back({win::IDOK, DefPushButton, "OK", {130, bottom, 50, 14}, 0});
    spot.controls.push_back({win::IDCANCEL, PushButton, "Cancel", {186, bottom, 50, 14}, 0});
    spot.height = bottom + 20;
    return spot;
}

int CameraSpotDlg::selectedMode() const {
    const int row = getSelection(kModeId);
    return row >= 0 && row < static_cast<int>(std::size(kModesShown)) ? kModesShown[row] : params_.spotMode;
}

void CameraSpotDlg::fill() {
    for (const int mode : kModesShown)
        addItem(kModeId, CameraSpot::modeName(mode));
    for (int row = 0; row < static_cast<int>(std::size(kModesShown)); ++row)
        if (kModesShown[row] == params_.spotMode)
            setSelection(kModeId, row);
    showSmoothing(kSmoothPositionId, kSmoothPositionSecondsId, params_.smoothPosition);
    showLength(kMaxDistanceId, params_.maxDistance);
    showFocus(params_.focus);
    showMode(params_.spotMode);
}

// The fixed camera's offset in metres; the others' direction and elevation in degrees and their
// distance. The enable rules follow the mode.
void CameraSpotDlg::showMode(int mode) {
    shownMode_ = mode;
    const bool fixed = mode == CameraSpot::kFixed;
    setText(kFirstLabelId, fixed ? "Left/Right:" : "Direction:");
    setText(kSecondLabelId, fixed ? "Front/Back:" : "Distance:");
    setLengthFields(kPositionUnitId, fixed ? std::vector<int>{kFirstId, kSecondId, kUpDownId} : std::vector<int>{kSecondId});
    if (fixed) {
        showLength(kFirstId, params_.x);
        showLength(kUpDownId, params_.y);
    } else {
        setFloat(kFirstId, params_.heading, 1);
        setFloat(kUpDownId, params_.pitch, 1);
    }
    showLength(kSecondId, params_.z);
    const bool follow = isFollow(mode), free = mode == CameraSpot::kFree;
    setCheck(kManualPanId, follow ? params_.manualPan : !params_.autoPan);
    setCheck(kAutoPanId, follow ? !params_.manualPan : params_.autoPan);
    enable(kManualPanId, follow || free);
    enable(kAutoPanId, follow || free);
    enable(kSmoothPositionId, follow || free);
    enable(kSmoothPositionSecondsId, follow || free);
    enable(kMaxDistanceId, free);
    enable(kMaxDistanceUnitId, free);
    for (const int id : {kFocusXId, kFocusYId, kFocusZId})
        enable(id, follow || mode == CameraSpot::kFlyBy);
}

void CameraSpotDlg::readMode(int mode) {
    if (mode == CameraSpot::kFixed) {
        params_.x = static_cast<float>(readLength(kFirstId));
        params_.y = static_cast<float>(readLength(kUpDownId));
    } else {
        params_.heading = static_cast<float>(getFloat(kFirstId));
        params_.pitch = static_cast<float>(getFloat(kUpDownId));
    }
    params_.z = static_cast<float>(readLength(kSecondId));
    if (isFollow(mode))
        params_.manualPan = getCheck(kManualPanId);
    else if (mode == CameraSpot::kFree)
        params_.autoPan = getCheck(kAutoPanId);
}

bool CameraSpotDlg::onCommand(int id, int notifyCode, win::LPARAM lParam) {
    if (id == kModeId) {
        if (notifyCode == win::CBN_SELCHANGE) {
            readMode(shownMode_);
            showMode(selectedMode());
        }
        return true;
    }
    return CameraEditDlg::onCommand(id, notifyCode, lParam);
}

void CameraSpotDlg::read() {
    readMode(shownMode_);
    params_.spotMode = selectedMode();
    params_.smoothPosition = readSmoothing(kSmoothPositionId, kSmoothPositionSecondsId);
    params_.maxDistance = static_cast<float>(readLength(kMaxDistanceId));
    readFocus(params_.focus);
}
