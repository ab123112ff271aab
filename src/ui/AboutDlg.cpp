#include "ui/AboutDlg.h"

#include "common/Version.h"
#include "ui/ModuleResources.h"

AboutDlg::AboutDlg() : Dialog(ModuleResources::kAboutDialog, ModuleResources::instance()) {}

win::DialogTemplate AboutDlg::dialogTemplate() {
    win::DialogTemplate about;
    about.id = ModuleResources::kAboutDialog;
    about.title = "About Zephrel";
    about.width = 200;
    about.height = 110;
    about.controls = {
        {kTextId, win::ControlKind::Text, "", {10, 10, 180, 64}, 0},
        {kLinkId, win::ControlKind::PushButton, kWebPage, {10, 86, 110, 14}, 0},
        {win::IDOK, win::ControlKind::DefPushButton, "OK", {140, 86, 50, 14}, 0},
    };
    return about;
}

std::string AboutDlg::aboutText() {
    return std::string(Version::kProduct) + " for " + Version::kHost + " Version " + Version::kNumber + " " +
           Version::kStage + "\nBuilt on " + Version::kBuildDate +
           "\n\nRecords flights and the traffic around them,\nplays them back and renders them into videos.";
}

bool AboutDlg::onInitDialog() {
    setText(kTextId, aboutText());
    return true;
}

bool AboutDlg::onCommand(int id, int, win::LPARAM) {
    switch (id) {
    case kLinkId:
        win::ShellExecute(hwnd(), "open", kWebPage);
        end(win::IDOK);
        return true;
    default:
        return false;
    }
}
