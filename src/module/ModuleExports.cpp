// The module's exports to the simulator's loader, and the steps of loading and unloading the
// module file. Nothing escapes to the simulator: every entry point catches everything.

#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "alerts/ShowError.h"
#include "app/CameraMarkers.h"
#include "app/ModuleDialogs.h"
#include "app/ToolWindows.h"
#include "app/UI.h"
#include "app/VideoRenderer.h"
#include "app/Zephrel.h"
#include "cameras/Cameras.h"
#include "common/Log.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "host/HostState.h"
#include "settings/Settings.h"
#include "ui/CameraWindows.h"
#include "ui/ModuleResources.h"
#include "video/FFmpegLibraries.h"

#define ZEPHREL_EXPORT __attribute__((visibility("default")))

// The host stores its panel function table here before it calls DLLStart.
extern "C" {
ZEPHREL_EXPORT ZHostPanels* Panels = nullptr;
}

namespace {

// The folder of the module file, found from the address of one of its own functions.
std::string moduleFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&moduleFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return std::filesystem::path(info.dli_fname).parent_path().string();
}

// The module's listeners, created at load and deleted at unload, with what the camera manager
// needs. Plain pointers, so that loading the module runs no constructor of its own before
// processAttach.
Zephrel* controller = nullptr;
UI* menu = nullptr;
Cameras* cameras = nullptr;
CameraWindows* cameraWindows = nullptr;
CameraMarkers* cameraMarkers = nullptr;
VideoRenderer* videoRenderer = nullptr;
ToolWindows* toolWindows = nullptr;
ModuleDialogs* moduleDialogs = nullptr;

// The module's listeners in the order they may swallow an event: the controller, the menu object,
// and the camera manager unless cameras are disabled.
void createAndRegisterListeners(bool disableCameras) {
    FSinterface::setCamerasDisabled(disableCameras);
    const std::string& folder = hostState().moduleFolder;
    const std::string settingsFile = (std::filesystem::path(folder) / kSettingsFileName).string();
    ControllerSeams seams;
    videoRenderer = new VideoRenderer(settingsFile);
    seams.video = videoRenderer;
    toolWindows = new ToolWindows(settingsFile);
    toolWindows->fill(seams);
    moduleDialogs = new ModuleDialogs(settingsFile);
    seams.settingsDialogs = moduleDialogs;
    seams.playListEditor = moduleDialogs;
    if (!disableCameras) {
        cameraWindows = new CameraWindows(settingsFile);
        cameras = new Cameras(folder, cameraWindows);
        cameraMarkers = new CameraMarkers(*cameras);
        seams.cameras = cameraMarkers;
    }
    controller = new Zephrel(folder, seams);
    toolWindows->attach(controller);
    FSinterface::addCallback(controller);
    menu = new UI(controller, folder, cameras);
    FSinterface::addCallback(menu);
    if (cameras != nullptr)
        FSinterface::addCallback(cameras);
}

// The menu object first, which calls on the controller; the controller stops what still runs,
// the rendering too; the cameras last, which the others reach.
void deleteListeners() {
    delete menu;
    menu = nullptr;
    delete controller;
    controller = nullptr;
    delete videoRenderer;
    videoRenderer = nullptr;
    delete toolWindows;
    toolWindows = nullptr;
    delete moduleDialogs;
    moduleDialogs = nullptr;
    delete cameraMarkers;
    cameraMarkers = nullptr;
    delete cameras;
    cameras = nullptr;
    delete cameraWindows;
    cameraWindows = nullptr;
}

void logLifecycle(const char* line, bool append = false) { Log::log(line, Log::kAllCategories, append); }

void logEscaped(const char* where) {
    Log::log(std::string("Error: unexpected exception in ") + where, Log::kAllCategories, false);
}

__attribute__((constructor)) void processAttach() {
    try {
        const std::string folder = moduleFolder();
        hostState().moduleFolder = folder;
        Log::setFolder(folder);
        const std::string settingsFile = (std::filesystem::path(folder) / kSettingsFileName).string();
        LogSettings logSettings;
        readLogSettings(settingsFile, logSettings);
        Log::setLogFlags(logSettings.flags);
        logLifecycle("Module Entry Point", logSettings.append);
        FSinterface::hookMainWindow();
        keepFFmpegLoaded();
        ModuleResources::registerDialogs();
        GeneralSettings settings;
        readGeneralSettings(settingsFile, settings);
        createAndRegisterListeners(settings.disableCameras);
    } catch (...) {
        logEscaped("the module's process attach");
    }
}

__attribute__((destructor)) void processDetach() {
    try {
        deleteListeners();
        FSinterface::unhookMainWindow();
        logLifecycle("Exit\n\n");
    } catch (...) {
        logEscaped("the module's process detach");
    }
    Log::closeLog();
}

} // namespace

extern "C" ZEPHREL_EXPORT int DLLStart() {
    try {
        FSinterface::init(Panels);
    } catch (...) {
        // What failed is in the log already: every ZephrelException writes itself there.
        showError("An initializaion error occurred!", ZephrelException::DisablesModule);
        try {
            FSinterface::failureCleanup();
        } catch (...) {
            logEscaped("the failure clean-up");
        }
    }
    return 0;
}

extern "C" ZEPHREL_EXPORT void DLLStop() {
    try {
        FSinterface::stop();
    } catch (...) {
        logEscaped("DLLStop");
    }
}
