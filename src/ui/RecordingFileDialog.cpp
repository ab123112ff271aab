#include "ui/RecordingFileDialog.h"

#include <filesystem>

#include "alerts/HostWindow.h"
#include "settings/Settings.h"
#include "winsys/CommonDialogs.h"

namespace RecordingFileDialog {

namespace {

struct KindOfFile {
    std::vector<win::FileFilter> filters;
    const char* defExt;
    const char* folderKey;
};

const KindOfFile& kindOfFile(Kind kind) {
    static const KindOfFile recordings{{{"Flight Recordings", "*.zfl"}}, "zfl", DialogFolder::kRecordings};
    static const KindOfFile markers{
        {{"Flight Recordings (Markers)", "*.markers.zfl"}}, "markers.zfl", DialogFolder::kRecordings};
    static const KindOfFile videos{{{"Windows Media Video", "*.wmv"}, {"MPEG-4 Video", "*.mp4"},
                                    {"Matroska Video", "*.mkv"}},
                                   "wmv",
                                   DialogFolder::kVideos};
    return kind == Kind::MarkersOnly ? markers : kind == Kind::Video ? videos : recordings;
}

win::OPENFILENAME request(const std::string& settingsFile, const char* title, Kind kind, win::DWORD flags) {
    const KindOfFile& files = kindOfFile(kind);
    win::OPENFILENAME request;
    request.hwndOwner = HostWindow::mainWindow();
    request.filters = files.filters;
    request.defExt = files.defExt;
    request.title = title;
    request.initialDir = readDialogFolder(settingsFile, files.folderKey);
    request.flags = win::OFN_EXPLORER | win::OFN_HIDEREADONLY | win::OFN_PATHMUSTEXIST | flags;
    return request;
}

void keepFolderOf(const std::string& settingsFile, Kind kind, const std::string& chosen) {
    writeDialogFolder(settingsFile, kindOfFile(kind).folderKey, std::filesystem::path(chosen).parent_path().string());
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
    keepFolderOf(settingsFile, Kind::Recording, chosen.front());
    return chosen;
}

std::string askToSave(const std::string& settingsFile, const char* title, Kind kind) {
    win::OPENFILENAME save = request(settingsFile, title, kind, win::OFN_OVERWRITEPROMPT);
    {
        ModalBracket modal;
        if (!win::GetSaveFileName(save))
            return {};
    }
    keepFolderOf(settingsFile, kind, save.file);
    return save.file;
}

} // namespace RecordingFileDialog
