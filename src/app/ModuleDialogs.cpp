#include "app/ModuleDialogs.h"

#include <utility>
#include <vector>

#include "alerts/HostWindow.h"
#include "host/FSinterface.h"
#include "ui/AdvPlayDlg.h"
#include "ui/AutoPlayDlg.h"
#include "ui/PlaybackDlg.h"
#include "ui/RecordingDlg.h"
#include "ui/SettingsDlg.h"

ModuleDialogs::ModuleDialogs(std::string settingsFile) : settingsFile_(std::move(settingsFile)) {}

bool ModuleDialogs::recordingSettings(RecordingSettings& recording) {
    return RecordingDlg::show(HostWindow::mainWindow(), recording, RecordingBlock::Recording);
}

bool ModuleDialogs::playbackSettings(PlaybackSettings& playback) {
    return PlaybackDlg::show(HostWindow::mainWindow(), playback);
}

bool ModuleDialogs::settings(GeneralSettings& general, RecordingSettings& recording, PlaybackSettings& playback,
                             RecordingSettings& replay) {
    const std::string& file = settingsFile_;
    return SettingsDlg::show(HostWindow::mainWindow(), general, recording, playback, replay, file,
                             [&file](win::HWND owner) { AutoPlayDlg::show(owner, file); });
}

bool ModuleDialogs::edit(PlayList& list) {
    std::vector<InstalledAircraft> installed;
    FSinterface::getAircraftList(FSinterface::getSimulatorRoot(), installed);
    std::vector<AircraftChoice> choices;
    for (const InstalledAircraft& aircraft : installed)
        choices.push_back({aircraft.manufacturer, aircraft.type, aircraft.variation, aircraft.title});
    return AdvPlayDlg::edit(list, settingsFile_, choices);
}
