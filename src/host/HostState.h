#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/FrameClock.h"
#include "host/HostBindings.h"
#include "host/HostMenu.h"
#include "host/Listeners.h"
#include "winsys/Types.h"

// FSinterface's process-wide state, shared by the files that implement it (not for its callers).
struct HostViewEntry {
    ZHostView* view = nullptr;
    uint8_t seen = 0;
    std::string caption;
    float captionTime = 0; // seconds left
    uint32_t captionX = 0;
    uint32_t captionY = 0;
    uint32_t textResource = 0;
};

struct HostState {
    int versionIndex = -1;
    int buildTag = 0;
    const ZHostPanels* panels = nullptr;
    HostBindings bound;
    Listeners listeners;

    // Notifications the frame handler broadcasts.
    bool flightSavedPending = false;
    std::string flightSavedPath;
    bool flightLoadedPending = false;
    std::string flightLoadedPath;
    bool aircraftLoadedPending = false;
    std::string aircraftFolder;
    bool loadingFlight = false; // the module's own loadFlight is running

    bool stopping = false;
    bool handlersRegistered = false;
    bool helicopter = false;
    bool levelD767 = false;

    FrameClock frameClock;

    // The fixed step of video rendering.
    bool fixedStep = false;
    double fixedFrameTime = 0;
    uint32_t ticksPerFrame = 0;
    bool realTimePacing = false;
    uint32_t savedRateWord = 0;
    double frameStart = 0;
    double frameEstimate = 0;

    // Switches that remember what they changed.
    bool trafficOn = true;
    uint32_t savedTraffic[2] = {0, 0};
    bool simOptionOn = true;
    uint32_t savedOption = 0;
    int modalDepth = 0;
    bool hideTexts = false;

    HostMenu menu;

    std::vector<HostViewEntry> views;
    int activeView = -1;
    bool mouseCapture = false;
    bool camerasDisabled = false; // [SETTINGS] "DisableCameras"
    bool cameraDefinitionsRegistered = false;
    std::string statusText;
    uint32_t statusTextResource = 0;
    uint32_t statusX = 0;
    uint32_t statusY = 0;

    // The folder of the module file, without trailing separator: "Zephrel.ini" and "Zephrel.log".
    std::string moduleFolder;

    win::HWND mainWindow = nullptr;
    win::WNDPROC previousMainProc = nullptr;
    win::WNDPROC previousViewClassProc = nullptr;

    // Both true on older hosts (version index 0 to 2), which use the older calling forms.
    bool olderHost() const { return versionIndex >= 0 && versionIndex <= 2; }
    bool firstHost() const { return versionIndex == 0; }
};

HostState& hostState();
