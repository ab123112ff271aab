#pragma once

#include <cstdint>

#include "winsys/WinSys.h"

// The module's resources: the instance that holds its dialog templates, and the templates.
namespace ModuleResources {

// Template ids of the module's dialogs.
enum DialogId : uint16_t {
    kSettingsDialog = 101,
    kRecordingDialog = 103,
    kAboutDialog = 105,
    kVideoDialog = 130,
    kVideoInfoDialog = 131,
    kPlaybackDialog = 134,
    kKeyboardDialog = 136,
    kAdvancedPlaybackDialog = 138,
    kInstantReplayDialog = 140,
    kDataWindow = 142,
    kAutoPlayDialog = 158,
    kMarkerDialog = 160,
    kCameraVCDialog = 170,
    kCameraTowerDialog = 171,
    kCameraSpotDialog = 172,
    kCameraSettingsDialog = 173,
};

win::HINSTANCE instance();

// Makes the module's dialog templates known to the window system; called once at module load.
void registerDialogs();

} // namespace ModuleResources
