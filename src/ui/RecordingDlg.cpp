#include "ui/RecordingDlg.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "ui/DataGroupTree.h"
#include "ui/ModuleResources.h"

namespace {

using Choice = RecordingDlg::IntervalChoice;

constexpr int kLabelId = -1;
// The recorder takes the user aircraft every frame at "1 frame".
constexpr Choice kUserIntervals[] = {
    {"1 sec", 10000},  {"1/2 sec", 5000}, {"1/3 sec", 3333}, {"1/4 sec", 2500},
    {"1/6 sec", 1666}, {"1/8 sec", 1250}, {"1/12 sec", 833}, {"1/16 sec", 625},
    {"1/24 sec", 416}, {"1/32 sec", 312}, {"1 frame", 0},
};
constexpr Choice kAIIntervals[] = {
    {"16 sec", 160000}, {"8 sec", 80000},  {"4 sec", 40000},  {"2 sec", 20000},
    {"1 sec", 10000},   {"1/2 sec", 5000}, {"1/4 sec", 2500}, {"1/8 sec", 1250},
};
// "Auto Stop" kinds in list order; the list position is the mode less one.
constexpr const char* kAutoStopKinds[] = {"after Start", "after Touchdown", "after Shutdown"};

int64_t distance(int32_t a, int32_t b) {
    return std::llabs(int64_t{a} - int64_t{b});
}

// The entry closest to a stored value, so that a hand-edited interval shows as its nearest choice.
int nearestChoice(std::span<const Choice> choices, int32_t ticks) {
    int nearest = 0;
    for (int at = 1; at < static_cast<int>(choices.size()); ++at)
        if (distance(choices[static_cast<std::size_t>(at)].ticks, ticks) <
            distance(choices[static_cast<std::size_t>(nearest)].ticks, ticks))
            nearest = at;
    return nearest;
}

} // namespace

std::span<const RecordingDlg::IntervalChoice> RecordingDlg::userIntervals() {
    return kUserIntervals;
}

std::span<const RecordingDlg::IntervalChoice> RecordingDlg::aiIntervals() {
    return kAIIntervals;
}

RecordingDlg::RecordingDlg(RecordingSettings& settings, RecordingBlock block)
    : Dialog(ModuleResources::kRecordingDialog, ModuleResources::instance()), settings_(settings),
      block_(block) {}

win::DialogTemplate RecordingDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate d;
    d.id = ModuleResources::kRecordingDialog;
    d.title = "Recording Settings";
    d.width = 330;
    d.height = 248;
    d.controls = {
        {kLabelId, GroupBox, "Recorded Data", {7, 4, 206, 150}, 0},
        {kLabelId, Text, "User Aircraft:", {14, 16, 94, 8}, 0},
        {kUserGroupsId, TreeView, "", {14, 26, 94, 122}, win::TVS_CHECKBOXES},
        {kLabelId, Text, "AI Traffic:", {112, 16, 94, 8}, 0},
        {kAIGroupsId, TreeView, "", {112, 26, 94, 122}, win::TVS_CHECKBOXES},
        {kLabelId, GroupBox, "Recording Intervals", {219, 4, 104, 66}, 0},
        {kLabelId, Text, "User Aircraft:", {226, 16, 90, 8}, 0},
        {kIntervalId, ComboBox, "", {226, 26, 90, 100}, 0},
        {kLabelId, Text, "AI Traffic:", {226, 42, 90, 8}, 0},
        {kIntervalAIId, ComboBox, "", {226, 52, 90, 100}, 0},
        {kLabelId, GroupBox, "Options", {7, 158, 316, 62}, 0},
        {kRecordAIId, AutoCheckBox, "Record AI Traffic", {14, 170, 140, 10}, 0},
        {kRecordPlayingTrafficId, AutoCheckBox, "Record Playing Traffic", {14, 184, 140, 10}, 0},
        {kSaveFlightId, AutoCheckBox, "Save Flight File", {14, 198, 140, 10}, 0},
        {kAutoStopId, AutoCheckBox, "Auto Stop", {160, 170, 44, 10}, 0},
        {kAutoStopTimeId, Edit, "", {206, 169, 28, 12}, 0},
        {kLabelId, Text, "sec", {238, 171, 14, 8}, 0},
        {kAutoStopModeId, ComboBox, "", {256, 169, 62, 60}, 0},
        {win::IDOK, DefPushButton, "OK", {217, 228, 50, 14}, 0},
        {win::IDCANCEL, PushButton, "Cancel", {273, 228, 50, 14}, 0},
    };
    return d;
}

bool RecordingDlg::show(win::HWND owner, RecordingSettings& settings, RecordingBlock block) {
    RecordingDlg dialog(settings, block);
    return dialog.doModal(owner) == win::IDOK;
}

bool RecordingDlg::onInitDialog() {
    if (block_ == RecordingBlock::Replay)
        win::SetWindowText(hwnd(), "Replay Settings");
    DataGroupTree::show(win::GetDlgItem(hwnd(), kUserGroupsId), settings_.contFlags, settings_.discFlags);
    DataGroupTree::show(win::GetDlgItem(hwnd(), kAIGroupsId), settings_.contFlagsAI, settings_.discFlagsAI);
    showIntervals(kIntervalId, kUserIntervals, settings_.interval);
    showIntervals(kIntervalAIId, kAIIntervals, settings_.intervalAI);

    setCheck(kRecordAIId, settings_.recordAI);
    setCheck(kRecordPlayingTrafficId, settings_.recordPlayingTraffic);
    setCheck(kSaveFlightId, settings_.saveFlight);
    const bool autoStop = settings_.autoStopMode >= RecordingSettings::AutoStopAfterStart &&
                          settings_.autoStopMode <= RecordingSettings::AutoStopAfterShutdown;
    setCheck(kAutoStopId, autoStop);
    setInt(kAutoStopTimeId, settings_.autoStopTime);
    for (const char* kind : kAutoStopKinds)
        addItem(kAutoStopModeId, kind);
    setSelection(kAutoStopModeId, autoStop ? settings_.autoStopMode - 1 : 0);
    enableDependents();
    return true;
}

bool RecordingDlg::onCommand(int id, int notifyCode, win::LPARAM) {
    switch (id) {
    case kRecordAIId:
    case kAutoStopId:
        if (notifyCode != win::BN_CLICKED)
            return false;
        enableDependents();
        return true;
    default:
        return false;
    }
}

bool RecordingDlg::onOk() {
    store();
    return true;
}

void RecordingDlg::showIntervals(int id, std::span<const IntervalChoice> choices, int32_t ticks) {
    for (const IntervalChoice& choice : choices)
        addItem(id, choice.text);
    setSelection(id, nearestChoice(choices, ticks));
}

void RecordingDlg::enableDependents() {
    const bool recordAI = getCheck(kRecordAIId);
    enable(kAIGroupsId, recordAI);
    enable(kIntervalAIId, recordAI);
    const bool recording = block_ == RecordingBlock::Recording;
    enable(kRecordPlayingTrafficId, recording);
    enable(kSaveFlightId, recording);
    enable(kAutoStopId, recording);
    const bool autoStop = recording && getCheck(kAutoStopId);
    enable(kAutoStopTimeId, autoStop);
    enable(kAutoStopModeId, autoStop);
}

void RecordingDlg::store() {
    const DataMasks user = DataGroupTree::edited(win::GetDlgItem(hwnd(), kUserGroupsId), settings_.contFlags,
                                                 settings_.discFlags);
    const DataMasks ai = DataGroupTree::edited(win::GetDlgItem(hwnd(), kAIGroupsId), settings_.contFlagsAI,
                                               settings_.discFlagsAI);
    settings_.contFlags = user.contFlags;
    settings_.discFlags = user.discFlags;
    settings_.contFlagsAI = ai.contFlags;
    settings_.discFlagsAI = ai.discFlags;
    settings_.interval =
        kUserIntervals[static_cast<std::size_t>(std::max(getSelection(kIntervalId), 0))].ticks;
    settings_.intervalAI =
        kAIIntervals[static_cast<std::size_t>(std::max(getSelection(kIntervalAIId), 0))].ticks;
    settings_.recordAI = getCheck(kRecordAIId);
    // The instant replay has none of the rest; its block keeps what it holds.
    if (block_ == RecordingBlock::Replay)
        return;
    settings_.recordPlayingTraffic = getCheck(kRecordPlayingTrafficId);
    settings_.saveFlight = getCheck(kSaveFlightId);
    settings_.autoStopTime = std::clamp(getInt(kAutoStopTimeId), kMinAutoStopTime, kMaxAutoStopTime);
    settings_.autoStopMode =
        getCheck(kAutoStopId) ? getSelection(kAutoStopModeId) + 1 : RecordingSettings::AutoStopOff;
}
