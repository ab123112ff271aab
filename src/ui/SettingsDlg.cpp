#include "ui/SettingsDlg.h"

#include <algorithm>
#include <utility>

#include "alerts/MessageBox.h"
#include "settings/SpeedList.h"
#include "ui/ModuleResources.h"
#include "ui/PlaybackDlg.h"
#include "ui/RecordingDlg.h"
#include "ui/SpeedsEntry.h"
#include "winsys/CommonDialogs.h"

namespace {

using D = SettingsDlg;
using G = GeneralSettings;

constexpr int kLabelId = -1;
constexpr const char* kCameraRestart =
    "Enabling/disabling camera features requires a restart of FS to take effect.";

struct CheckField {
    int id;
    bool G::*value;
};
constexpr CheckField kChecks[] = {
    {D::kEnableReplayId, &G::enableReplay},
    {D::kPlayRecAIId, &G::playRecAI},
    {D::kDisableLiveAIId, &G::disableLiveAI},
    {D::kUnpauseStartPlayId, &G::unpauseStartPlay},
    {D::kPauseEndPlayId, &G::pauseEndPlay},
    {D::kRestoreAfterPlayId, &G::restoreAfterPlay},
    {D::kSetSimRateId, &G::setSimRate},
    {D::kSetSimRateSearchId, &G::setSimRateSearch},
    {D::kLimitSimRateId, &G::limitSimRate},
    {D::kEnableControlsId, &G::enableControls},
    {D::kEnableControlsAIId, &G::enableControlsAI},
    {D::kLoadAircraftId, &G::loadAircraft},
    {D::kDisplayRecordingId, &G::displayRecording},
    {D::kDisplayPlaybackId, &G::displayPlayback},
    {D::kShowWindowId, &G::showWindow},
    {D::kShowDataWindowId, &G::showDataWindow},
    {D::kShowRecDialogId, &G::showRecDialog},
    {D::kShowPlayDialogId, &G::showPlayDialog},
    {D::kEnableAutoplayId, &G::enableAutoplay},
    {D::kDisableCamerasId, &G::disableCameras},
};

struct StepFields {
    bool G::*search;
    int32_t G::*jumpSize;
    int32_t G::*searchSpeed;
};
constexpr StepFields kStepFields[] = {
    {&G::search1, &G::jumpSize1, &G::searchSpeed1},
    {&G::search2, &G::jumpSize2, &G::searchSpeed2},
    {&G::search3, &G::jumpSize3, &G::searchSpeed3},
};
constexpr int kSteps = 3;

// One row of the "Fast-Forward/Rewind" group at `top`; the label starts the row's button group.
void addStepRow(std::vector<win::ControlTemplate>& controls, int step, int top) {
    using enum win::ControlKind;
    const auto at = static_cast<std::size_t>(step);
    controls.push_back({kLabelId, Text, std::to_string(step + 1) + ":", {14, top + 2, 10, 8}, 0});
    controls.push_back({D::kStepIds[at], AutoRadioButton, "Step", {26, top + 1, 32, 10}, 0});
    controls.push_back({D::kSearchIds[at], AutoRadioButton, "Search", {60, top + 1, 38, 10}, 0});
    controls.push_back({D::kStepValueIds[at], Edit, "", {102, top, 36, 12}, 0});
    controls.push_back({kLabelId, Text, "sec", {142, top + 2, 20, 8}, 0});
}

// A folder as the settings keep it: without a trailing separator, unless it is a root.
std::string withoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder;
}

} // namespace

SettingsDlg::SettingsDlg(Blocks blocks, std::string settingsFile, AutoplayDialog autoplay)
    : Dialog(ModuleResources::kSettingsDialog, ModuleResources::instance()), blocks_(blocks),
      settingsFile_(std::move(settingsFile)), autoplay_(std::move(autoplay)) {}

win::DialogTemplate SettingsDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate d;
    d.id = ModuleResources::kSettingsDialog;
    d.title = "Zephrel Settings";
    d.width = 400;
    d.height = 324;
    std::vector<win::ControlTemplate>& c = d.controls;
    c = {
        {kLabelId, GroupBox, "Instant Replay", {7, 4, 190, 28}, 0},
        {kEnableReplayId, AutoCheckBox, "Enable Replay", {14, 16, 100, 10}, 0},
        {kReplaySettingsId, PushButton, "Settings...", {140, 14, 50, 14}, 0},
        {kLabelId, GroupBox, "Fast-Forward/Rewind", {7, 36, 190, 58}, 0},
    };
    for (int step = 0; step < kSteps; ++step)
        addStepRow(c, step, 48 + 14 * step);
    c.insert(
        c.end(),
        {
            {kLabelId, GroupBox, "AI Traffic", {7, 98, 190, 56}, 0},
            {kPlayRecAIId, AutoCheckBox, "Play recorded Traffic", {14, 110, 176, 10}, 0},
            {kDisableLiveAIId, AutoCheckBox, "Disable FS Traffic during Playback", {14, 124, 176, 10}, 0},
            {kLabelId, Text, "Max. rec/played Aircraft:", {14, 140, 96, 8}, 0},
            {kMaxAircraftId, Edit, "", {112, 138, 36, 12}, 0},
            {kLabelId, GroupBox, "Playback", {7, 158, 190, 160}, 0},
            {kUnpauseStartPlayId, AutoCheckBox, "Unpause on Playback", {14, 170, 176, 10}, 0},
            {kPauseEndPlayId, AutoCheckBox, "Pause after Playback", {14, 184, 176, 10}, 0},
            {kRestoreAfterPlayId, AutoCheckBox, "Restore Situation before Playback", {14, 198, 176, 10}, 0},
            {kSetSimRateId, AutoCheckBox, "Set Simrate to Playback Speed", {14, 212, 176, 10}, 0},
            {kSetSimRateSearchId, AutoCheckBox, "Set Simrate on Search", {24, 226, 166, 10}, 0},
            {kLimitSimRateId, AutoCheckBox, "Limit Simrate to 4x", {24, 240, 166, 10}, 0},
            {kEnableControlsId, AutoCheckBox, "Enable Playback Controls", {14, 254, 176, 10}, 0},
            {kEnableControlsAIId, AutoCheckBox, "for Traffic Playback", {24, 268, 166, 10}, 0},
            {kLoadAircraftId, AutoCheckBox, "Load User Aircraft", {14, 282, 176, 10}, 0},
            {kLabelId, Text, "Playback Speeds:", {14, 300, 64, 8}, 0},
            {kSpeedsId, Edit, "", {80, 298, 110, 12}, 0},
            {kLabelId, GroupBox, "Display", {203, 4, 190, 56}, 0},
            {kDisplayRecordingId, AutoCheckBox, "Recording", {210, 16, 80, 10}, 0},
            {kDisplayPlaybackId, AutoCheckBox, "Playback", {296, 16, 80, 10}, 0},
            {kShowWindowId, AutoCheckBox, "Show Playback Control Window", {210, 29, 176, 10}, 0},
            {kShowDataWindowId, AutoCheckBox, "Show Data Window", {210, 42, 176, 10}, 0},
            {kLabelId, GroupBox, "Dialogs", {203, 64, 190, 86}, 0},
            {kShowRecDialogId, AutoCheckBox, "Show Recording Settings", {210, 76, 126, 10}, 0},
            {kSetRecordingId, PushButton, "Set...", {340, 74, 46, 14}, 0},
            {kShowPlayDialogId, AutoCheckBox, "Show Playback Settings", {210, 92, 126, 10}, 0},
            {kSetPlaybackId, PushButton, "Set...", {340, 90, 46, 14}, 0},
            {kLabelId, Text, "Enter Filename:", {210, 108, 58, 8}, 0},
            {kFileDialogBeforeId, AutoRadioButton, "before Recording", {270, 107, 116, 10}, 0},
            {kFileDialogAfterId, AutoRadioButton, "after Recording", {270, 120, 116, 10}, 0},
            {kAutomaticFilenameId, AutoRadioButton, "Automatic Filename (no Dialog)", {210, 134, 176, 10}, 0},
            {kLabelId, GroupBox, "Temp Files Directory", {203, 154, 190, 46}, 0},
            {kTempDirectoryId, Edit, "", {210, 166, 150, 12}, 0},
            {kBrowseTempId, PushButton, "...", {364, 166, 22, 12}, 0},
            {kLabelId, Text, "Max. Temp File Size:", {210, 184, 80, 8}, 0},
            {kMaxTempSizeId, Edit, "", {292, 182, 36, 12}, 0},
            {kLabelId, Text, "MB", {332, 184, 20, 8}, 0},
            {kLabelId, GroupBox, "Autoplay", {203, 204, 190, 28}, 0},
            {kEnableAutoplayId, AutoCheckBox, "Enable Autoplay", {210, 216, 100, 10}, 0},
            {kAutoplaySettingsId, PushButton, "Settings...", {336, 214, 50, 14}, 0},
            {kLabelId, GroupBox, "Cameras", {203, 236, 190, 28}, 0},
            {kDisableCamerasId, AutoCheckBox, "Disable Camera Features", {210, 248, 176, 10}, 0},
            {win::IDOK, DefPushButton, "OK", {287, 302, 50, 14}, 0},
            {win::IDCANCEL, PushButton, "Cancel", {343, 302, 50, 14}, 0},
        });
    return d;
}

bool SettingsDlg::show(win::HWND owner, GeneralSettings& general, RecordingSettings& recording,
                       PlaybackSettings& playback, RecordingSettings& replay, const std::string& settingsFile,
                       AutoplayDialog autoplay) {
    SettingsDlg dialog({general, recording, playback, replay}, settingsFile, std::move(autoplay));
    return dialog.doModal(owner) == win::IDOK;
}

bool SettingsDlg::onInitDialog() {
    const GeneralSettings& general = blocks_.general;
    for (const CheckField& check : kChecks)
        setCheck(check.id, general.*check.value);
    for (std::size_t step = 0; step < kSteps; ++step) {
        jumpSize_[step] = general.*kStepFields[step].jumpSize;
        searchSpeed_[step] = general.*kStepFields[step].searchSpeed;
        const bool search = general.*kStepFields[step].search;
        setCheck(search ? kSearchIds[step] : kStepIds[step], true);
        fieldShowsSearch_[step] = search;
        setInt(kStepValueIds[step], search ? searchSpeed_[step] : jumpSize_[step]);
    }
    setInt(kMaxAircraftId, general.maxAircraft);
    setText(kSpeedsId, SpeedList::format(general.speeds, SpeedList::kDialogSeparator));
    setCheck(!general.fileDialog        ? kAutomaticFilenameId
             : general.fileDialogBefore ? kFileDialogBeforeId
                                        : kFileDialogAfterId,
             true);
    setText(kTempDirectoryId, general.tempDirectory);
    setInt(kMaxTempSizeId, general.maxReplaySize);
    enable(kAutoplaySettingsId, static_cast<bool>(autoplay_));
    enableDependents();
    return true;
}

bool SettingsDlg::onCommand(int id, int notifyCode, win::LPARAM) {
    for (int step = 0; step < kSteps; ++step)
        if (id == kStepIds[static_cast<std::size_t>(step)] ||
            id == kSearchIds[static_cast<std::size_t>(step)]) {
            if (notifyCode != win::BN_CLICKED)
                return false;
            switchStepField(step);
            return true;
        }
    switch (id) {
    case kSetSimRateId:
    case kEnableControlsId:
        if (notifyCode != win::BN_CLICKED)
            return false;
        enableDependents();
        return true;
    case kReplaySettingsId:
        openRecordingSettings(blocks_.replay, RecordingBlock::Replay);
        return true;
    case kSetRecordingId:
        openRecordingSettings(blocks_.recording, RecordingBlock::Recording);
        return true;
    case kSetPlaybackId:
        openPlaybackSettings();
        return true;
    case kAutoplaySettingsId:
        if (autoplay_)
            autoplay_(hwnd());
        return true;
    case kBrowseTempId:
        browseTempDirectory();
        return true;
    default:
        return false;
    }
}

bool SettingsDlg::onOk() { return store(); }

void SettingsDlg::switchStepField(int step) {
    const auto at = static_cast<std::size_t>(step);
    (fieldShowsSearch_[at] ? searchSpeed_[at] : jumpSize_[at]) = getInt(kStepValueIds[at]);
    fieldShowsSearch_[at] = getCheck(kSearchIds[at]);
    setInt(kStepValueIds[at], fieldShowsSearch_[at] ? searchSpeed_[at] : jumpSize_[at]);
}

// The simulation-rate options only matter while the rate follows the playback speed, and the
// traffic's controls only when the user aircraft's are played.
void SettingsDlg::enableDependents() {
    const bool setSimRate = getCheck(kSetSimRateId);
    enable(kSetSimRateSearchId, setSimRate);
    enable(kLimitSimRateId, setSimRate);
    enable(kEnableControlsAIId, getCheck(kEnableControlsId));
}

void SettingsDlg::browseTempDirectory() {
    win::BROWSEINFO request;
    request.hwndOwner = hwnd();
    request.title = "Select Temp Directory";
    request.initialFolder = getText(kTempDirectoryId);
    const std::string folder = win::BrowseForFolder(request);
    if (!folder.empty())
        setText(kTempDirectoryId, withoutTrailingSeparator(folder));
}

void SettingsDlg::openRecordingSettings(RecordingSettings& block, RecordingBlock which) {
    if (RecordingDlg::show(hwnd(), block, which))
        writeRecordingSettings(settingsFile_, which, block);
}

void SettingsDlg::openPlaybackSettings() {
    if (PlaybackDlg::show(hwnd(), blocks_.playback))
        writePlaybackSettings(settingsFile_, blocks_.playback);
}

bool SettingsDlg::store() {
    const auto speeds = acceptSpeedsFromDialog(getText(kSpeedsId));
    if (!speeds)
        return false;
    GeneralSettings& general = blocks_.general;
    const bool camerasWereDisabled = general.disableCameras;
    general.speeds = *speeds;
    for (const CheckField& check : kChecks)
        general.*check.value = getCheck(check.id);
    for (std::size_t step = 0; step < kSteps; ++step) {
        switchStepField(static_cast<int>(step)); // keeps the field's value
        general.*kStepFields[step].search = fieldShowsSearch_[step];
        general.*kStepFields[step].jumpSize = std::clamp(jumpSize_[step], kMinJumpSize, kMaxJumpSize);
        general.*kStepFields[step].searchSpeed =
            std::clamp(searchSpeed_[step], kMinSearchSpeed, kMaxSearchSpeed);
    }
    general.maxAircraft = std::clamp(getInt(kMaxAircraftId), 0, kMaxAircraft);
    general.fileDialog = !getCheck(kAutomaticFilenameId);
    // "Automatic Filename" keeps when the dialog would come if it were chosen again.
    if (general.fileDialog)
        general.fileDialogBefore = getCheck(kFileDialogBeforeId);
    general.tempDirectory = withoutTrailingSeparator(getText(kTempDirectoryId));
    general.maxReplaySize = std::clamp(getInt(kMaxTempSizeId), 0, kMaxTempSize);
    if (general.disableCameras != camerasWereDisabled)
        showMessageBox({kCameraRestart, "Zephrel", MessageIcon::Warning, MessageButtons::Ok});
    return true;
}
