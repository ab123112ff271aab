#include "ui/InstantReplayDlg.h"

#include <algorithm>

#include "ui/ModuleResources.h"

namespace {
constexpr int kLabelId = -1;
} // namespace

InstantReplayDlg::InstantReplayDlg(int availableSeconds)
    : Dialog(ModuleResources::kInstantReplayDialog, ModuleResources::instance()),
      available_(std::max(availableSeconds, 0)) {}

win::DialogTemplate InstantReplayDlg::dialogTemplate() {
    win::DialogTemplate replay;
    replay.id = ModuleResources::kInstantReplayDialog;
    replay.title = "Instant Replay";
    replay.width = 180;
    replay.height = 48;
    replay.controls = {
        {kLabelId, win::ControlKind::Text, "Replay Time:", {7, 9, 48, 8}, 0},
        {kTimeId, win::ControlKind::Edit, "", {58, 7, 40, 12}, 0},
        // Created right after the field, so that the field is its buddy.
        {kSpinId,
         win::ControlKind::UpDown,
         "",
         {98, 7, 10, 12},
         win::UDS_AUTOBUDDY | win::UDS_SETBUDDYINT | win::UDS_ALIGNRIGHT},
        {kLabelId, win::ControlKind::Text, "sec", {112, 9, 20, 8}, 0},
        {win::IDOK, win::ControlKind::DefPushButton, "OK", {7, 27, 50, 14}, 0},
        {kSaveId, win::ControlKind::PushButton, "Save...", {65, 27, 50, 14}, 0},
        {win::IDCANCEL, win::ControlKind::PushButton, "Cancel", {123, 27, 50, 14}, 0},
    };
    return replay;
}

int InstantReplayDlg::choose(int availableSeconds) {
    InstantReplayDlg dialog(availableSeconds);
    dialog.doModal();
    return dialog.result_;
}

bool InstantReplayDlg::onInitDialog() {
    win::SendDlgItemMessage(hwnd(), kSpinId, win::UDM_SETRANGE32, 0, available_);
    win::SendDlgItemMessage(hwnd(), kSpinId, win::UDM_SETPOS32, 0, available_);
    setInt(kTimeId, available_);
    return true;
}

bool InstantReplayDlg::onCommand(int id, int, win::LPARAM) {
    switch (id) {
    case win::IDOK:
        result_ = chosenSeconds();
        break;
    case kSaveId:
        result_ = -chosenSeconds();
        break;
    case win::IDCANCEL:
        result_ = 0;
        break;
    default:
        return false;
    }
    end(id);
    return true;
}

int InstantReplayDlg::chosenSeconds() const {
    // A field that holds no number gives 0.
    return std::clamp(getInt(kTimeId), 0, available_);
}
