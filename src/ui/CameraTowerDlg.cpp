#include "ui/CameraTowerDlg.h"

#include <cmath>

#include "alerts/MessageBox.h"
#include "ui/ModuleResources.h"

namespace {

constexpr int kLabelId = -1;
constexpr double kLatitudeLimit = 90;
constexpr double kLongitudeLimit = 180;

} // namespace

CameraTowerDlg::CameraTowerDlg(TowerParams& params)
    : CameraEditDlg(ModuleResources::kCameraTowerDialog, params), params_(params) {
    addLengthGroup({kHeightUnitId, {kAltitudeId}, LengthUnits::heights(), 0});
    addLengthGroup({kMaxDistanceUnitId, {kMaxDistanceId}, LengthUnits::distances(), 1});
}

win::DialogTemplate CameraTowerDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate tower;
    tower.id = ModuleResources::kCameraTowerDialog;
    tower.title = "Edit Tower Camera";
    tower.width = 244;
    tower.controls = {
        {kLabelId, GroupBox, "Position", {7, 40, 230, 76}, 0},
        {kLabelId, Text, "Latitude:", {14, 52, 50, 8}, 0},
        {kLatitudeId, Edit, "", {66, 50, 90, 12}, 0},
        {kFormatId, PushButton, "°", {160, 50, 20, 12}, 0},
        {kLabelId, Text, "Longitude:", {14, 66, 50, 8}, 0},
        {kLongitudeId, Edit, "", {66, 64, 90, 12}, 0},
        {kLabelId, Text, "Altitude:", {14, 80, 50, 8}, 0},
        {kAltitudeId, Edit, "", {66, 78, 60, 12}, 0},
        {kHeightUnitId, PushButton, "m", {130, 78, 20, 12}, 0},
        {kSimulatorTowerId, PushButton, "Set to FS Tower", {14, 96, 70, 14}, 0},
        {kAircraftId, PushButton, "Set to Aircraft", {90, 96, 70, 14}, 0},
    };
    addPanningGroup(tower.controls, 120, "Max. Dist.:");
    const int bottom = CameraEditDlg::addCommonControls(tower.controls, 200);
    tower.controls.push_back({win::IDOK, DefPushButton, "OK", {130, bottom, 50, 14}, 0});
    tower.controls.push_back({win::IDCANCEL, PushButton, "Cancel", {186, bottom, 50, 14}, 0});
    tower.height = bottom + 20;
    return tower;
}

void CameraTowerDlg::showPlace(double latitude, double longitude, double altitude) {
    setText(kLatitudeId, AngleText::format(latitude, format_));
    setText(kLongitudeId, AngleText::format(longitude, format_));
    showLength(kAltitudeId, altitude);
}

void CameraTowerDlg::fill() {
    showPlace(params_.latitude, params_.longitude, params_.altitude);
    setCheck(params_.autoPan ? kAutoPanId : kManualPanId, true);
    showLength(kMaxDistanceId, params_.maxDistance);
    showFocus(params_.focus);
    enable(kSimulatorTowerId, params_.hasSimulatorTower);
}

std::optional<double> CameraTowerDlg::readAngle(int id, const char* what, double limit) const {
    const std::optional<double> angle = AngleText::parse(getText(id));
    if (angle && std::fabs(*angle) <= limit)
        return angle;
    showMessageBox({std::string("Invalid ") + what + "!", "Zephrel", MessageIcon::Warning, MessageButtons::Ok});
    return std::nullopt;
}

bool CameraTowerDlg::onCommand(int id, int notifyCode, win::LPARAM lParam) {
    switch (id) {
    case kFormatId: {
        const std::optional<double> latitude = readAngle(kLatitudeId, "latitude", kLatitudeLimit);
        const std::optional<double> longitude = latitude ? readAngle(kLongitudeId, "longitude", kLongitudeLimit)
                                                         : std::nullopt;
        if (!latitude || !longitude)
            return true;
        format_ = AngleText::next(format_);
        setText(kFormatId, AngleText::symbol(format_));
        setText(kLatitudeId, AngleText::format(*latitude, format_));
        setText(kLongitudeId, AngleText::format(*longitude, format_));
        return true;
    }
    case kSimulatorTowerId:
        showPlace(params_.simulatorTower[0], params_.simulatorTower[1], params_.simulatorTower[2]);
        return true;
    case kAircraftId:
        showPlace(params_.aircraft[0], params_.aircraft[1], params_.aircraft[2]);
        return true;
    default:
        break;
    }
    return CameraEditDlg::onCommand(id, notifyCode, lParam);
}

bool CameraTowerDlg::onOk() {
    // A place that cannot be read keeps the dialog open after the warning.
    return readAngle(kLatitudeId, "latitude", kLatitudeLimit) &&
           readAngle(kLongitudeId, "longitude", kLongitudeLimit) && CameraEditDlg::onOk();
}

void CameraTowerDlg::read() {
    params_.latitude = AngleText::parse(getText(kLatitudeId)).value_or(params_.latitude);
    params_.longitude = AngleText::parse(getText(kLongitudeId)).value_or(params_.longitude);
    params_.altitude = readLength(kAltitudeId);
    params_.autoPan = getCheck(kAutoPanId);
    params_.maxDistance = static_cast<float>(readLength(kMaxDistanceId));
    readFocus(params_.focus);
}
