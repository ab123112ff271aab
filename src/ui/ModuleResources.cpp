#include "ui/ModuleResources.h"

#include "ui/AboutDlg.h"
#include "ui/AdvPlayDlg.h"
#include "ui/AutoPlayDlg.h"
#include "ui/CameraSettingsDlg.h"
#include "ui/CameraSpotDlg.h"
#include "ui/CameraTowerDlg.h"
#include "ui/CameraVCDlg.h"
#include "ui/DataWnd.h"
#include "ui/InstantReplayDlg.h"
#include "ui/KeyboardDlg.h"
#include "ui/MarkerDlg.h"
#include "ui/PlaybackDlg.h"
#include "ui/RecordingDlg.h"
#include "ui/SettingsDlg.h"
#include "ui/VideoDlg.h"
#include "ui/VideoInfoDlg.h"

namespace {
// Its address identifies the module to the window system.
const char moduleIdentity = 0;
} // namespace

win::HINSTANCE ModuleResources::instance() {
    return &moduleIdentity;
}

void ModuleResources::registerDialogs() {
    win::RegisterDialogTemplate(instance(), AboutDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), KeyboardDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), AdvPlayDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), InstantReplayDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), AutoPlayDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), MarkerDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), CameraVCDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), CameraSettingsDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), CameraSpotDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), CameraTowerDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), VideoDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), VideoInfoDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), DataWnd::dialogTemplate());
    win::RegisterDialogTemplate(instance(), SettingsDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), RecordingDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), PlaybackDlg::dialogTemplate());
}
