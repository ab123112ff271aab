#include "ui/PlaybackDlg.h"

#include "ui/DataGroupTree.h"
#include "ui/ModuleResources.h"

namespace {
constexpr int kLabelId = -1;
} // namespace

PlaybackDlg::PlaybackDlg(PlaybackSettings& settings)
    : Dialog(ModuleResources::kPlaybackDialog, ModuleResources::instance()), settings_(settings) {}

win::DialogTemplate PlaybackDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate d;
    d.id = ModuleResources::kPlaybackDialog;
    d.title = "Playback Settings";
    d.width = 180;
    d.height = 232;
    d.controls = {
        {kLoadFlightId, AutoCheckBox, "Load saved Flight (if available)", {7, 7, 166, 10}, 0},
        {kLoadMarkersId, AutoCheckBox, "Load Markers", {7, 21, 166, 10}, 0},
        {kLabelId, GroupBox, "Data used for Playback", {7, 36, 166, 168}, 0},
        {kGroupsId, TreeView, "", {14, 48, 152, 150}, win::TVS_CHECKBOXES},
        {win::IDOK, DefPushButton, "OK", {67, 211, 50, 14}, 0},
        {win::IDCANCEL, PushButton, "Cancel", {123, 211, 50, 14}, 0},
    };
    return d;
}

bool PlaybackDlg::show(win::HWND owner, PlaybackSettings& settings) {
    PlaybackDlg dialog(settings);
    return dialog.doModal(owner) == win::IDOK;
}

bool PlaybackDlg::onInitDialog() {
    setCheck(kLoadFlightId, settings_.loadFlight);
    setCheck(kLoadMarkersId, settings_.loadMarkers);
    DataGroupTree::show(win::GetDlgItem(hwnd(), kGroupsId), settings_.contFlags, settings_.discFlags);
    return true;
}

bool PlaybackDlg::onOk() {
    settings_.loadFlight = getCheck(kLoadFlightId);
    settings_.loadMarkers = getCheck(kLoadMarkersId);
    const DataMasks played =
        DataGroupTree::edited(win::GetDlgItem(hwnd(), kGroupsId), settings_.contFlags, settings_.discFlags);
    settings_.contFlags = played.contFlags;
    settings_.discFlags = played.discFlags;
    return true;
}
