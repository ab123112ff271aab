#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "cameras/CameraList.h"
#include "host/ModuleEvents.h"
#include "settings/Settings.h"
#include "system/Guid.h"

class CameraDialogs;

// The camera manager: the module's VC, tower and spot cameras (up to 30 of each), which of them
// each of the simulator's views shows, their entries in the "Zephrel" menu, and their places in
// the settings file, camera files, flights and aircraft sets. It listens to the host interface
// last, after the controller and the menu object.
class Cameras : public IFScallback {
public:
    // Kind −1 in the commands below: the kind of the active view.
    static constexpr int kActiveKind = -1;

    // `dialogs` shows the edit, settings and file dialogs (not owned).
    Cameras(const std::string& moduleFolder, CameraDialogs* dialogs);
    ~Cameras() override;

    int callback(int event, intptr_t a, intptr_t b, intptr_t c) override;

    // ---- menu and key commands ----
    void newCamera(int kind);
    void deleteCamera(int kind);
    void EditCamera(int kind);
    void nextCamera();
    void prevCamera();
    void selectCamera(int kind, uint32_t menuId);
    // A module camera by its GUID in the active view, else the simulator's own camera of that GUID.
    bool selectCameraByGuid(const Guid& guid);
    void loadCameraFile(int kind);
    void saveCameraFile(int kind);
    void editSettings();
    // Forwarded to the current camera of the active view.
    void cycleTarget(bool forward);
    void zoomDefault();
    void command();
    void towerToAircraft();
    void mousePan(bool begin, float* a, float* b);

    // ---- what the menu object, the markers and playback ask ----
    // Whether the active view shows one of the module's cameras.
    bool hasCurrentCamera() const;
    // The kind of the active view (0 for none of the module's).
    int activeKind() const { return activeKind_; }
    const CameraList& getCameraList(int kind) const;
    // Kind 0: the simulator's own cameras; kind −1 the active view's kind; index < 0 the active
    // view's current camera (the simulator's own title and GUID for the default view).
    std::size_t getCamCount(int kind) const;
    std::string getCamTitle(int kind, int index) const;
    Guid getCamGuid(int kind, int index) const;
    const CameraSettings& settings() const { return settings_; }
    // The GUID of the camera the active view shows: the module's current camera, else the
    // simulator's own camera's identifier; all zero without an active view.
    Guid activeCameraGuid() const;

private:
    CameraList& list(int kind);
    const CameraList& list(int kind) const;
    int kindOrActive(int kind) const { return kind == kActiveKind ? activeKind_ : kind; }
    Camera* current(int kind) const;
    bool defaultOffered() const;
    void makeCamera(CameraList& cameras, int view);
    // A camera appended to its kind's list with an entry in its menu.
    void append(std::unique_ptr<Camera> camera);
    void remove(CameraList& cameras, std::size_t index);
    // The kind's check mark on the active view's camera, and the states of its commands.
    void refreshMenu(int kind);
    void refreshAllMenus();
    // The entries of the simulator's own default views, where the host offers them.
    void addDefaultEntries();
    void showTitle(int kind);
    // The camera the active view shows from now on, by index (−1 the default view).
    void show(int kind, int index, bool switchView);
    int forwardEvent(int event, intptr_t a, intptr_t b);
    struct HostCamera {
        std::string title;
        Guid guid{};
    };
    // "Invalid camera index" at `place` for a camera that is not there.
    const Camera& moduleCamera(int kind, int index, const char* place) const;
    HostCamera hostCamera(int index, const char* place) const;

    // ---- files ----
    void loadSettingsFile();
    void keepViewsOnCameras(CameraList& cameras) const;
    void saveSettingsFile() const;
    // Cameras of the set (1 flight, 2 aircraft) from sections "<prefix>000" … "<prefix>029".
    void loadSet(const std::string& file, const std::string& prefix, int set);
    void saveSet(const std::string& file, const std::string& prefix, int set) const;
    std::string aircraftPrefix() const { return setName_ + "."; }

    std::string settingsFile_;
    CameraDialogs* dialogs_;
    CameraSettings settings_;
    std::array<CameraList, 3> lists_{CameraList(1), CameraList(2), CameraList(3)};
    std::string setName_;
    int activeView_ = -1;
    int activeKind_ = 0;
};
