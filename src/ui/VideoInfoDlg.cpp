#include "ui/VideoInfoDlg.h"

#include <utility>

#include "alerts/MessageBox.h"
#include "ui/ModuleResources.h"

namespace {
// Results up to this one are the shell's failure codes.
constexpr win::INT_PTR kLastShellFailure = 32;
} // namespace

VideoInfoDlg::VideoInfoDlg(std::string summary, std::string videoFile)
    : Dialog(ModuleResources::kVideoInfoDialog, ModuleResources::instance()), summary_(std::move(summary)),
      videoFile_(std::move(videoFile)) {}

win::DialogTemplate VideoInfoDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate info;
    info.id = ModuleResources::kVideoInfoDialog;
    info.title = "Video Information";
    info.width = 240;
    info.height = 131;
    info.controls = {
        {kSummaryId, Edit, "", {7, 7, 226, 96}, win::ES_MULTILINE | win::ES_READONLY},
        {kPlayId, PushButton, "Play Video", {7, 110, 60, 14}, 0},
        {win::IDCANCEL, DefPushButton, "Close", {173, 110, 60, 14}, 0},
    };
    return info;
}

void VideoInfoDlg::show(win::HWND owner, const std::string& summary, const std::string& videoFile) {
    VideoInfoDlg dialog(summary, videoFile);
    dialog.doModal(owner);
}

bool VideoInfoDlg::onInitDialog() {
    setText(kSummaryId, summary_);
    return true;
}

bool VideoInfoDlg::onCommand(int id, int, win::LPARAM) {
    switch (id) {
    case kPlayId:
        playVideo();
        return true;
    case win::IDOK: // no OK button: the dialog only closes
        return true;
    default:
        return false;
    }
}

void VideoInfoDlg::playVideo() {
    if (win::ShellExecute(hwnd(), "open", videoFile_) <= kLastShellFailure)
        showMessageBox({"The video file '" + videoFile_ + "' could not be opened!", "Zephrel",
                        MessageIcon::Warning, MessageButtons::Ok});
}
