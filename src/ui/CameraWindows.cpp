#include "ui/CameraWindows.h"

#include <filesystem>

#include "alerts/HostWindow.h"
#include "settings/Settings.h"
#include "ui/CameraSettingsDlg.h"
#include "ui/CameraSpotDlg.h"
#include "ui/CameraTowerDlg.h"
#include "ui/CameraVCDlg.h"
#include "winsys/CommonDialogs.h"

namespace {

struct CameraFileKind {
    const char* loadTitle;
    const char* saveTitle;
    const char* filterName;
    const char* pattern;
    const char* extension;
};

// By camera kind, 1 to 3.
constexpr CameraFileKind kFileKinds[] = {
    {"Load VC Cameras", "Save VC Cameras", "VC Camera Files", "*.camvc", "camvc"},
    {"Load Tower Cameras", "Save Tower Cameras", "Tower Camera Files", "*.camtwr", "camtwr"},
    {"Load Spot Cameras", "Save Spot Cameras", "Spot Camera Files", "*.camspot", "camspot"},
};

} // namespace

std::string CameraWindows::cameraFile(int kind, bool save) {
    if (kind < 1 || kind > 3)
        return {};
    const CameraFileKind& k = kFileKinds[kind - 1];
    win::OPENFILENAME request;
    request.hwndOwner = HostWindow::mainWindow();
    request.filters = {{k.filterName, k.pattern}};
    request.defExt = k.extension;
    request.title = save ? k.saveTitle : k.loadTitle;
    request.initialDir = readDialogFolder(settingsFile_, DialogFolder::kCameras);
    request.flags = win::OFN_EXPLORER | win::OFN_HIDEREADONLY | win::OFN_PATHMUSTEXIST |
                    (save ? win::OFN_OVERWRITEPROMPT : win::OFN_FILEMUSTEXIST);
    {
        ModalBracket modal;
        if (!(save ? win::GetSaveFileName(request) : win::GetOpenFileName(request)))
            return {};
    }
    writeDialogFolder(settingsFile_, DialogFolder::kCameras, std::filesystem::path(request.file).parent_path().string());
    return request.file;
}

bool CameraWindows::editVC(VCParams& params) {
    return CameraVCDlg(params).doModal() == win::IDOK;
}

bool CameraWindows::editTower(TowerParams& params) {
    return CameraTowerDlg(params).doModal() == win::IDOK;
}

bool CameraWindows::editSpot(SpotParams& params) {
    return CameraSpotDlg(params).doModal() == win::IDOK;
}

bool CameraWindows::editSettings(CameraSettings& settings) {
    return CameraSettingsDlg(settings).doModal() == win::IDOK;
}
