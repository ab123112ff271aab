#include "ui/MarkerDlg.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "alerts/MessageBox.h"
#include "common/Ticks.h"
#include "settings/Settings.h"
#include "ui/ModuleResources.h"
#include "winsys/CommonDialogs.h"

namespace {

constexpr int kLabelId = -1;
constexpr std::size_t kMaxTextLength = 255; // what a recording file keeps of a marker's text

constexpr int kMaxDisplaySeconds = static_cast<int>(Marker::kTextSeconds), kDefaultDisplaySeconds = 5;

// What the dialog shows for each type, in the order of the type list, which is Marker::Type's.
struct TypeView {
    const char* name;
    const char* textLabel;
    const char* optionLabel; // empty: the label is disabled
    bool options;            // the option list is in use
};
constexpr TypeView kTypeViews[] = {
    {"None", "Comment:", "", false},
    {"Play Sound", "Wave File:", "Play", true},
    {"Display Text", "Text:", "Disp. Time:", false},
    {"Pause", "Comment:", "", false},
    {"Switch Camera", "Comment:", "Camera:", true},
};
static_assert(std::size(kTypeViews) == Marker::SwitchCamera + 1);

struct SoundOption {
    const char* name;
    uint32_t views;
};
constexpr SoundOption kSoundOptions[] = {
    {"always", Marker::kInsideViews | Marker::kOutsideViews},
    {"inside views only", Marker::kInsideViews},
    {"outside views only", Marker::kOutsideViews},
};

// The cameras are listed by kind in this order.
struct CameraGroup {
    CameraChoice::Kind kind;
    const char* prefix;
};
constexpr CameraGroup kCameraGroups[] = {
    {CameraChoice::VC, "VC: "},
    {CameraChoice::Tower, "Tower: "},
    {CameraChoice::Spot, "Spot: "},
    {CameraChoice::Simulator, "FS: "},
};

// A marker that plays in no view was never meant to be silent: it shows as "always".
int soundOptionOf(const Marker& marker) {
    const uint32_t views = marker.flags & (Marker::kInsideViews | Marker::kOutsideViews);
    for (int option = 1; option < static_cast<int>(std::size(kSoundOptions)); ++option)
        if (kSoundOptions[option].views == views)
            return option;
    return 0;
}

void warn(const char* text) {
    showMessageBox({text, "Zephrel", MessageIcon::Warning, MessageButtons::Ok});
}

} // namespace

MarkerDlg::MarkerDlg(Marker& marker, const std::vector<CameraChoice>* cameras, std::string settingsFile)
    : Dialog(ModuleResources::kMarkerDialog, ModuleResources::instance()), marker_(marker), cameras_(cameras),
      settingsFile_(std::move(settingsFile)) {}

win::DialogTemplate MarkerDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate marker;
    marker.id = ModuleResources::kMarkerDialog;
    marker.title = "Add Marker";
    marker.width = 250;
    marker.height = 113;
    marker.controls = {
        {kLabelId, Text, "Time:", {7, 9, 40, 8}, 0},
        {kTimeId, Edit, "", {50, 7, 50, 12}, win::ES_READONLY},
        {kLabelId, Text, "sec", {104, 9, 20, 8}, 0},
        {kLabelId, Text, "Type:", {7, 26, 40, 8}, 0},
        {kTypeId, ComboBox, "", {50, 24, 90, 80}, 0},
        {kChapterId, AutoCheckBox, "Chapter", {150, 25, 60, 10}, 0},
        {kTextLabelId, Text, "", {7, 43, 40, 8}, 0},
        {kTextId, Edit, "", {50, 41, 170, 12}, 0},
        {kBrowseId, PushButton, "...", {224, 41, 18, 12}, 0},
        {kOptionLabelId, Text, "", {7, 60, 40, 8}, 0},
        {kOptionId, ComboBox, "", {50, 58, 110, 80}, 0},
        {kDisplayTimeId, Edit, "", {166, 58, 24, 12}, 0},
        {kLabelId, Text, "sec", {194, 60, 16, 8}, 0},
        {kScrollId, AutoCheckBox, "Scrolling Text", {166, 75, 76, 10}, 0},
        {win::IDOK, DefPushButton, "OK", {136, 92, 50, 14}, 0},
        {win::IDCANCEL, PushButton, "Cancel", {192, 92, 50, 14}, 0},
    };
    return marker;
}

bool MarkerDlg::edit() {
    return doModal() == win::IDOK;
}

bool MarkerDlg::onInitDialog() {
    setFloat(kTimeId, static_cast<double>(marker_.time) / kTicksPerSecond, 1);
    const uint32_t typeCount = cameras_ != nullptr ? Marker::SwitchCamera + 1 : Marker::SwitchCamera;
    for (uint32_t type = 0; type < typeCount; ++type)
        addItem(kTypeId, kTypeViews[type].name);
    // A type the list does not offer (a camera switch without cameras) shows as None.
    setSelection(kTypeId, static_cast<int>(marker_.type < typeCount ? marker_.type : Marker::None));
    setCheck(kChapterId, (marker_.flags & Marker::kChapter) != 0);
    setText(kTextId, marker_.text);
    const bool displaysText = marker_.type == Marker::DisplayText;
    setInt(kDisplayTimeId,
           displaysText ? static_cast<int>(marker_.flags & Marker::kTextSeconds) : kDefaultDisplaySeconds);
    setCheck(kScrollId, displaysText && (marker_.flags & Marker::kScrolling) != 0);
    showType();
    return true;
}

bool MarkerDlg::onCommand(int id, int notifyCode, win::LPARAM) {
    switch (id) {
    case kTypeId:
        if (notifyCode != win::CBN_SELCHANGE)
            return false;
        showType();
        return true;
    case kBrowseId:
        browseWaveFile();
        return true;
    default:
        return false;
    }
}

bool MarkerDlg::onOk() { return store(); }

uint32_t MarkerDlg::selectedType() const {
    return static_cast<uint32_t>(std::max(getSelection(kTypeId), 0));
}

void MarkerDlg::showType() {
    const uint32_t type = selectedType();
    const TypeView& view = kTypeViews[type];
    if (type == Marker::None)
        setCheck(kChapterId, true);
    enable(kChapterId, type != Marker::None);
    setText(kTextLabelId, view.textLabel);
    enable(kBrowseId, type == Marker::PlaySound);
    setText(kOptionLabelId, view.optionLabel);
    enable(kOptionLabelId, *view.optionLabel != '\0');
    fillOptions(type);
    enable(kOptionId, view.options);
    enable(kDisplayTimeId, type == Marker::DisplayText);
    enable(kScrollId, type == Marker::DisplayText);
}

void MarkerDlg::fillOptions(uint32_t type) {
    win::SendDlgItemMessage(hwnd(), kOptionId, win::CB_RESETCONTENT, 0, 0);
    listedCameras_.clear();
    if (type == Marker::PlaySound) {
        for (const SoundOption& option : kSoundOptions)
            addItem(kOptionId, option.name);
        // The flags of another type mean something else.
        setSelection(kOptionId, marker_.type == Marker::PlaySound ? soundOptionOf(marker_) : 0);
    } else if (type == Marker::SwitchCamera) {
        for (const CameraGroup& group : kCameraGroups)
            for (const CameraChoice& camera : *cameras_)
                if (camera.kind == group.kind) {
                    addItem(kOptionId, group.prefix + camera.title);
                    listedCameras_.push_back(&camera);
                }
        for (std::size_t at = 0; at < listedCameras_.size(); ++at)
            if (listedCameras_[at]->guid.toBytes() == marker_.cameraId)
                setSelection(kOptionId, static_cast<int>(at));
    }
}

void MarkerDlg::browseWaveFile() {
    win::OPENFILENAME request;
    request.hwndOwner = hwnd();
    request.filters = {{"Wave Files", "*.wav"}};
    request.title = "Select Wave File";
    request.defExt = "wav";
    request.initialDir = readDialogFolder(settingsFile_, DialogFolder::kSounds);
    request.flags =
        win::OFN_EXPLORER | win::OFN_HIDEREADONLY | win::OFN_PATHMUSTEXIST | win::OFN_FILEMUSTEXIST;
    if (!win::GetOpenFileName(request))
        return;
    setText(kTextId, request.file);
    writeDialogFolder(settingsFile_, DialogFolder::kSounds,
                      std::filesystem::path(request.file).parent_path().string());
}

bool MarkerDlg::store() {
    const uint32_t type = selectedType();
    std::string text = getText(kTextId).substr(0, kMaxTextLength);
    uint32_t flags = getCheck(kChapterId) || type == Marker::None ? Marker::kChapter : 0;
    const int option = getSelection(kOptionId);
    switch (type) {
    case Marker::PlaySound:
        if (text.empty()) {
            warn("No wave file specified!");
            return false;
        }
        flags |= kSoundOptions[std::max(option, 0)].views;
        break;
    case Marker::DisplayText:
        flags |= static_cast<uint32_t>(std::clamp(getInt(kDisplayTimeId), 0, kMaxDisplaySeconds));
        if (getCheck(kScrollId))
            flags |= Marker::kScrolling;
        break;
    case Marker::SwitchCamera:
        if (option < 0) {
            warn("No camera selected!");
            return false;
        }
        marker_.cameraId = listedCameras_[static_cast<std::size_t>(option)]->guid.toBytes();
        break;
    default:
        break;
    }
    marker_.type = type;
    marker_.flags = flags;
    marker_.text = std::move(text);
    return true;
}
