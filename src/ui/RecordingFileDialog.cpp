#include "ui/RecordingFileDialog.h"

#include <filesystem>

#include "alerts/HostWindow.h"
#include "settings/Settings.h"
#include "winsys/CommonDialogs.h"

namespace RecordingFileDialog {

namespace {

win::OPENFILENAME request(const std::string& settingsFile, const char* title, Kind kind, win::DWORD flags) {
    win::OPENFILENAME request;
    request.hwndOwner = HostWindow::mainWindow();
    if (kind == Kind::MarkersOnly) {
        request.filters = {{"Flight Recordings (Markers)", "*.markers.zfl"}};
        request.defExt = "markers.zfl";
    } else {
        request.filters = {{"Flight Recordings", "*.zfl"}};
        request.defExt = "zfl";
    }
    request.title = title;
    request.initialDir = readDialogFolder(settingsFile, DialogFolder::kRecordings);
    request.flags = win::OFN_EXPLORER | win::OFN_HIDEREADONLY | win::OFN_PATHMUSTEXIST | flags;
    return request;
}

void keepFolderOf(const std::string& settingsFile, const std::string& chosen) {
    writeDialogFolder(settingsFile, DialogFolder::kRecordings, std::filesystem::path(chosen).parent_path().string());
}

} // namespace

std::vector<std::string> askToOpen(const std::string& settingsFile, const char* title, bool several) {
    win::OPENFILENAME open = request(settingsFile, title, Kind::Recording,
                                     win::OFN_FILEMUSTEXIST | (several ? win::OFN_ALLOWMULTISELECT : 0));
    {
        ModalBracket modal;
        if (!win::GetOpenFileName(open))
            return {};
    }
    std::vector<std::string> chosen = open.files.empty() ? std::vector<std::string>{open.file} : open.files;
    keepFolderOf(settingsFile, chosen.front());
    return chosen;
}

std::string askToSave(const std::string& settingsFile, const char* title, Kind kind) {
    win::OPENFILENAME save = request(settingsFile, title, kind, win::OFN_OVERWRITEPROMPT);
    {
        ModalBracket modal;
        if (!win::GetSaveFileName(save))
            return {};
    }
    keepFolderOf(settingsFile, save.file);
    return save.file;
}

} // namespace RecordingFileDialog
