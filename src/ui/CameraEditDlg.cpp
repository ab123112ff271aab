#include "ui/CameraEditDlg.h"

#include "ui/ModuleResources.h"

namespace {

constexpr int kLabelId = -1;
constexpr const char* kScopes[] = {"Global", "Flight", "Aircraft"};
constexpr int kLengthDecimals = 3;

} // namespace

CameraEditDlg::CameraEditDlg(uint16_t templateId, CameraParams& params)
    : Dialog(templateId, ModuleResources::instance()), params_(params) {}

int CameraEditDlg::addCommonControls(std::vector<win::ControlTemplate>& controls, int zoomTop) {
    using enum win::ControlKind;
    const int y = zoomTop;
    const std::vector<win::ControlTemplate> common = {
        {kLabelId, Text, "Title:", {7, 9, 40, 8}, 0},
        {kTitleId, Edit, "", {50, 7, 150, 12}, 0},
        {kLabelId, Text, "Type:", {7, 25, 40, 8}, 0},
        {kScopeId, ComboBox, "", {50, 23, 80, 60}, 0},
        {kLabelId, GroupBox, "Zoom", {7, y, 230, 50}, 0},
        {kLabelId, Text, "Zoom Factor:", {14, y + 12, 60, 8}, 0},
        {kZoomId, Edit, "", {80, y + 10, 40, 12}, 0},
        {kLabelId, Text, "Min/max. Zoom:", {14, y + 26, 60, 8}, 0},
        {kMinZoomId, Edit, "", {80, y + 24, 40, 12}, 0},
        {kMaxZoomId, Edit, "", {124, y + 24, 40, 12}, 0},
        {kSmoothZoomId, AutoCheckBox, "Smooth Zoom:", {14, y + 38, 64, 10}, 0},
        {kSmoothZoomSecondsId, Edit, "", {80, y + 37, 40, 12}, 0},
        {kLabelId, Text, "sec", {124, y + 39, 16, 8}, 0},
        {kLabelId, Text, "Panning Speed:", {14, y + 58, 60, 8}, 0},
        {kPanSpeedId, Edit, "", {80, y + 56, 40, 12}, 0},
        {kLabelId, Text, "°/s", {124, y + 58, 16, 8}, 0},
        {kSmoothPanId, AutoCheckBox, "Smooth Panning:", {14, y + 72, 64, 10}, 0},
        {kSmoothPanSecondsId, Edit, "", {80, y + 71, 40, 12}, 0},
        {kLabelId, Text, "sec", {124, y + 73, 16, 8}, 0},
    };
    controls.insert(controls.end(), common.begin(), common.end());
    return y + 90;
}

void CameraEditDlg::addPanningGroup(std::vector<win::ControlTemplate>& controls, int top, const char* distanceLabel) {
    using enum win::ControlKind;
    const int y = top;
    const std::vector<win::ControlTemplate> panning = {
        {kLabelId, GroupBox, "Panning", {7, y, 230, 76}, 0},
        {kManualPanId, AutoRadioButton, "Manual Panning", {14, y + 12, 70, 10}, 0},
        {kAutoPanId, AutoRadioButton, "Automatic Panning", {90, y + 12, 80, 10}, 0},
        {kLabelId, Text, distanceLabel, {14, y + 28, 60, 8}, 0},
        {kMaxDistanceId, Edit, "", {80, y + 26, 50, 12}, 0},
        {kMaxDistanceUnitId, PushButton, "m", {134, y + 26, 20, 12}, 0},
        {kLabelId, Text, "Focus Point X:", {14, y + 44, 60, 8}, 0},
        {kFocusXId, Edit, "", {80, y + 42, 40, 12}, 0},
        {kLabelId, Text, "Focus Point Y:", {124, y + 44, 50, 8}, 0},
        {kFocusYId, Edit, "", {176, y + 42, 40, 12}, 0},
        {kLabelId, Text, "Focus Point Z:", {14, y + 60, 60, 8}, 0},
        {kFocusZId, Edit, "", {80, y + 58, 40, 12}, 0},
    };
    controls.insert(controls.end(), panning.begin(), panning.end());
}

void CameraEditDlg::showFocus(const float focus[3]) {
    setFloat(kFocusXId, focus[0], 3);
    setFloat(kFocusYId, focus[1], 3);
    setFloat(kFocusZId, focus[2], 3);
}

void CameraEditDlg::readFocus(float focus[3]) const {
    focus[0] = static_cast<float>(getFloat(kFocusXId));
    focus[1] = static_cast<float>(getFloat(kFocusYId));
    focus[2] = static_cast<float>(getFloat(kFocusZId));
}

bool CameraEditDlg::onInitDialog() {
    setText(kTitleId, params_.title);
    for (const char* scope : kScopes)
        addItem(kScopeId, scope);
    setSelection(kScopeId, params_.flightSet >= 0 && params_.flightSet <= 2 ? params_.flightSet : 0);
    setFloat(kZoomId, params_.zoom, 3);
    setFloat(kMinZoomId, params_.minZoom, 3);
    setFloat(kMaxZoomId, params_.maxZoom, 1);
    showSmoothing(kSmoothZoomId, kSmoothZoomSecondsId, params_.smoothZoom);
    setFloat(kPanSpeedId, params_.panRate, 1);
    showSmoothing(kSmoothPanId, kSmoothPanSecondsId, params_.smoothPanning);
    for (LengthGroup& group : lengthGroups_)
        setText(group.buttonId, group.units[group.unit].name);
    fill();
    return true;
}

bool CameraEditDlg::onCommand(int id, int, win::LPARAM) {
    for (LengthGroup& group : lengthGroups_)
        if (group.buttonId == id) {
            cycleUnit(group);
            return true;
        }
    return false;
}

bool CameraEditDlg::onOk() {
    params_.title = getText(kTitleId);
    const int scope = getSelection(kScopeId);
    params_.flightSet = scope >= 0 && scope <= 2 ? scope : 0;
    params_.zoom = static_cast<float>(getFloat(kZoomId));
    params_.minZoom = static_cast<float>(getFloat(kMinZoomId));
    params_.maxZoom = static_cast<float>(getFloat(kMaxZoomId));
    params_.smoothZoom = readSmoothing(kSmoothZoomId, kSmoothZoomSecondsId);
    params_.panRate = static_cast<float>(getFloat(kPanSpeedId));
    params_.smoothPanning = readSmoothing(kSmoothPanId, kSmoothPanSecondsId);
    read();
    return true;
}

void CameraEditDlg::setLengthFields(int buttonId, std::vector<int> fieldIds) {
    for (LengthGroup& group : lengthGroups_)
        if (group.buttonId == buttonId)
            group.fieldIds = std::move(fieldIds);
}

void CameraEditDlg::showSmoothing(int checkId, int secondsId, double seconds) {
    setCheck(checkId, seconds != 0);
    setFloat(secondsId, seconds != 0 ? seconds : 1.0, 2);
}

double CameraEditDlg::readSmoothing(int checkId, int secondsId) const {
    return getCheck(checkId) ? getFloat(secondsId) : 0;
}

const CameraEditDlg::LengthGroup* CameraEditDlg::groupOf(int fieldId) const {
    for (const LengthGroup& group : lengthGroups_)
        for (int id : group.fieldIds)
            if (id == fieldId)
                return &group;
    return nullptr;
}

void CameraEditDlg::showLength(int fieldId, double metres) {
    const LengthGroup* group = groupOf(fieldId);
    setFloat(fieldId, group != nullptr ? metres / group->units[group->unit].metres : metres, kLengthDecimals);
    shownLengths_[fieldId] = {metres, getText(fieldId)};
}

double CameraEditDlg::readLength(int fieldId) const {
    if (const auto shown = shownLengths_.find(fieldId);
        shown != shownLengths_.end() && shown->second.text == getText(fieldId))
        return shown->second.metres;
    const LengthGroup* group = groupOf(fieldId);
    return getFloat(fieldId) * (group != nullptr ? group->units[group->unit].metres : 1);
}

void CameraEditDlg::cycleUnit(LengthGroup& group) {
    std::vector<double> metres;
    for (int id : group.fieldIds)
        metres.push_back(readLength(id));
    group.unit = LengthUnits::next(group.units, group.unit);
    setText(group.buttonId, group.units[group.unit].name);
    for (std::size_t i = 0; i < group.fieldIds.size(); ++i)
        showLength(group.fieldIds[i], metres[i]);
}
