// The camera manager's cameras in files: the settings file's general list, camera files of one
// kind, and the sets kept with a flight or with an aircraft.

#include <cstdio>

#include "cameras/CameraDialogs.h"
#include "cameras/CameraSpot.h"
#include "cameras/CameraTower.h"
#include "cameras/CameraVC.h"
#include "cameras/Cameras.h"
#include "host/FSinterface.h"
#include "profile/ProfileValues.h"

namespace {

constexpr const char* kGeneralPrefix = "Camera.";
constexpr int kGeneralSections = 90;  // Camera.000 … Camera.089
constexpr int kFileSections = 30;     // in a camera file, a flight or a set
constexpr int kClearedSections = 256; // removed before a file or a set is written
constexpr int kGlobal = 0;

std::string sectionName(const std::string& prefix, int index) {
    char number[8];
    std::snprintf(number, sizeof number, "%03d", index);
    return prefix + number;
}

bool sectionExists(const std::string& file, const std::string& section) {
    return !profile::readString(file, section.c_str(), "Type", "").empty();
}

// The camera a section describes; null for a section without a valid "Type".
std::unique_ptr<Camera> loadCamera(const std::string& section, const std::string& file,
                                   const CameraSettings* settings) {
    std::unique_ptr<Camera> camera;
    switch (profile::readInt(file, section.c_str(), "Type", 0)) {
    case Camera::kVC:
        camera = std::make_unique<CameraVC>(settings);
        break;
    case Camera::kTower:
        camera = std::make_unique<CameraTower>(settings);
        break;
    case Camera::kSpot:
        return CameraSpot::loadFrom(section, file, settings);
    default:
        return nullptr;
    }
    camera->load(section, file);
    return camera;
}

void clearSections(const std::string& file, const std::string& prefix, int from, int to) {
    for (int index = from; index < to; ++index)
        profile::deleteSection(file, sectionName(prefix, index).c_str());
}

} // namespace

void Cameras::loadSettingsFile() {
    for (int index = 0; index < kGeneralSections; ++index) {
        std::unique_ptr<Camera> camera = loadCamera(sectionName(kGeneralPrefix, index), settingsFile_, &settings_);
        if (camera == nullptr)
            break;
        append(std::move(camera));
    }
    if (defaultOffered())
        addDefaultEntries();
    refreshAllMenus();
}

// After a list was loaded: a view on a camera that is gone, or on the default view where the host
// offers none, goes to the first camera.
void Cameras::keepViewsOnCameras(CameraList& cameras) const {
    for (int& shown : cameras.current)
        if (static_cast<std::size_t>(shown) >= cameras.cameras.size() && (shown >= 0 || !defaultOffered()))
            shown = 0;
}

void Cameras::saveSettingsFile() const {
    int index = 0;
    for (const CameraList& cameras : lists_)
        for (const auto& camera : cameras.cameras)
            if (camera->flightSet == kGlobal && index < kGeneralSections)
                camera->save(sectionName(kGeneralPrefix, index++), settingsFile_);
    clearSections(settingsFile_, kGeneralPrefix, index, kGeneralSections);
}

void Cameras::saveCameraFile(int kind) {
    kind = kindOrActive(kind);
    if (kind < 1 || kind > 3 || dialogs_ == nullptr)
        return;
    const std::string file = dialogs_->cameraFile(kind, true);
    if (file.empty())
        return;
    clearSections(file, kGeneralPrefix, 0, kClearedSections);
    int index = 0;
    for (const auto& camera : list(kind).cameras)
        if (camera->flightSet == kGlobal)
            camera->save(sectionName(kGeneralPrefix, index++), file);
}

void Cameras::loadCameraFile(int kind) {
    kind = kindOrActive(kind);
    if (kind < 1 || kind > 3 || dialogs_ == nullptr)
        return;
    const std::string file = dialogs_->cameraFile(kind, false);
    if (file.empty())
        return;
    CameraList& cameras = list(kind);
    for (std::size_t i = cameras.cameras.size(); i-- > 0;)
        if (cameras.cameras[i]->flightSet == kGlobal)
            remove(cameras, i);
    for (int index = 0; index < kFileSections; ++index) {
        const std::string section = sectionName(kGeneralPrefix, index);
        if (!sectionExists(file, section))
            break;
        std::unique_ptr<Camera> camera = loadCamera(section, file, &settings_);
        if (camera == nullptr)
            break;
        if (camera->getType() == kind)
            append(std::move(camera));
    }
    keepViewsOnCameras(cameras);
    refreshMenu(kind);
}

void Cameras::loadSet(const std::string& file, const std::string& prefix, int set) {
    for (CameraList& cameras : lists_)
        for (std::size_t i = cameras.cameras.size(); i-- > 0;)
            if (cameras.cameras[i]->flightSet == set)
                remove(cameras, i);
    for (int index = 0; index < kFileSections; ++index) {
        const std::string section = sectionName(prefix, index);
        if (!sectionExists(file, section))
            break;
        std::unique_ptr<Camera> camera = loadCamera(section, file, &settings_);
        if (camera == nullptr)
            break;
        camera->flightSet = set;
        append(std::move(camera));
    }
    for (CameraList& cameras : lists_)
        keepViewsOnCameras(cameras);
    refreshAllMenus();
}

void Cameras::saveSet(const std::string& file, const std::string& prefix, int set) const {
    clearSections(file, prefix, 0, kClearedSections);
    int index = 0;
    for (const CameraList& cameras : lists_)
        for (const auto& camera : cameras.cameras)
            if (camera->flightSet == set && index < kFileSections)
                camera->save(sectionName(prefix, index++), file);
}
