#include "NewMarkersSave.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "HostWindow.h"
#include "MessageBox.h"
#include "Settings.h"
#include "ShowError.h"
#include "ZephrelException.h"
#include "ZflFile.h"
#include "winsys/CommonDialogs.h"

namespace {

constexpr const char* kFolderKey = "ZflPath";

bool isNew(const Marker& marker) {
    return marker.include != 0;
}

// The chosen path; empty when the user cancelled.
std::string chooseFile(const std::string& settingsFile) {
    win::OPENFILENAME request;
    request.hwndOwner = HostWindow::mainWindow();
    request.filters = {{"Flight Recordings (Markers)", "*.markers.zfl"}};
    request.title = "Save Markers";
    request.defExt = "markers.zfl";
    request.initialDir = readDialogFolder(settingsFile, kFolderKey);
    request.flags = win::OFN_EXPLORER | win::OFN_HIDEREADONLY | win::OFN_PATHMUSTEXIST | win::OFN_OVERWRITEPROMPT;
    ModalBracket modal;
    return win::GetSaveFileName(request) ? request.file : std::string();
}

void writeMarkersFile(const std::string& path, const std::vector<Marker>& markers) {
    try {
        // Left by an exception, the file is closed before it is removed.
        ZflFile file;
        file.open(path, ZflFile::Write);
        for (const Marker& marker : markers)
            if (isNew(marker))
                file.addMarker(marker);
        file.close();
    } catch (const ZephrelException& e) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        showError(e.userText, e.severity);
    }
}

} // namespace

void offerToSaveNewMarkers(const std::vector<Marker>& markers, const std::string& settingsFile) {
    if (std::none_of(markers.begin(), markers.end(), isNew))
        return;
    const MessageBoxRequest question{"You have set new markers during playback, do you want to save them?", "Zephrel",
                                     MessageIcon::Question, MessageButtons::YesNo};
    if (showMessageBox(question) != AnswerYes)
        return;
    const std::string path = chooseFile(settingsFile);
    if (path.empty())
        return;
    writeDialogFolder(settingsFile, kFolderKey, std::filesystem::path(path).parent_path().string());
    writeMarkersFile(path, markers);
}
