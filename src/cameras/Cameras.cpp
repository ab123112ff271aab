// The camera manager's events and commands.

#include "cameras/Cameras.h"

#include <filesystem>

#include "cameras/CameraDialogs.h"
#include "cameras/CameraSpot.h"
#include "cameras/CameraSpotFollow.h"
#include "cameras/CameraTower.h"
#include "cameras/CameraVC.h"
#include "common/ZephrelException.h"
#include "host/CameraView.h"
#include "host/FSinterface.h"

namespace {

constexpr const char* kFlightPrefix = "ZephrelCamera.";
constexpr int kFlightSet = 1;
constexpr int kAircraftSet = 2;

// A new spot camera trails the aircraft from behind and a little above it.
constexpr float kNewSpotDistance = 50;
constexpr float kNewSpotElevation = -0.17453292f; // 10° above

[[noreturn]] void invalid(const char* text, const char* place) {
    throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, place, __LINE__, text);
}

std::unique_ptr<Camera> freshCamera(int kind, const CameraSettings* settings) {
    switch (kind) {
    case Camera::kVC: {
        auto camera = std::make_unique<CameraVC>(settings);
        camera->moveEye(0, 0, 0);
        return camera;
    }
    case Camera::kTower: {
        auto camera = std::make_unique<CameraTower>(settings);
        camera->moveEye(0, 0, 0);
        camera->rotateRate(0, 0, 0);
        return camera;
    }
    default: {
        auto camera = std::make_unique<CameraSpotFollow>(settings, false);
        camera->headingOffset = 3.14159265f;
        camera->elevation = kNewSpotElevation;
        camera->distance = kNewSpotDistance;
        return camera;
    }
    }
}

} // namespace

Cameras::Cameras(const std::string& moduleFolder, CameraDialogs* dialogs)
    : settingsFile_((std::filesystem::path(moduleFolder) / kSettingsFileName).string()), dialogs_(dialogs) {}

Cameras::~Cameras() = default;

CameraList& Cameras::list(int kind) {
    if (kind < 1 || kind > 3)
        invalid("Invalid camera type", "Cameras::getCameraList");
    return lists_[static_cast<std::size_t>(kind - 1)];
}

const CameraList& Cameras::list(int kind) const {
    return const_cast<Cameras*>(this)->list(kind);
}

const CameraList& Cameras::getCameraList(int kind) const {
    return list(kind);
}

Camera* Cameras::current(int kind) const {
    kind = kindOrActive(kind);
    return kind >= 1 && kind <= 3 ? list(kind).shownIn(activeView_) : nullptr;
}

bool Cameras::hasCurrentCamera() const {
    return current(kActiveKind) != nullptr;
}

bool Cameras::defaultOffered() const {
    return FSinterface::offersDefaultViews();
}

int Cameras::callback(int event, intptr_t a, intptr_t b, intptr_t c) {
    switch (event) {
    case Start:
        readCameraSettings(settingsFile_, settings_);
        loadSettingsFile();
        return 0;
    case Stop:
        saveSettingsFile();
        return 0;
    case SimClosing:
        if (!setName_.empty())
            saveSet(settingsFile_, aircraftPrefix(), kAircraftSet);
        return 0;
    case FlightLoaded:
        loadSet(reinterpret_cast<const char*>(a), kFlightPrefix, kFlightSet);
        return 0;
    case FlightSaved:
        saveSet(reinterpret_cast<const char*>(a), kFlightPrefix, kFlightSet);
        return 0;
    case AircraftLoaded:
        if (!setName_.empty())
            saveSet(settingsFile_, aircraftPrefix(), kAircraftSet);
        setName_ = std::string("Camera.") + reinterpret_cast<const char*>(b);
        loadSet(settingsFile_, aircraftPrefix(), kAircraftSet);
        return 0;
    case CameraUpdate: {
        const int view = static_cast<int>(a);
        const int kind = static_cast<int>(b);
        if (view == activeView_)
            activeKind_ = kind;
        if (kind < 1 || kind > 3 || view < 0)
            return 0;
        CameraList& cameras = list(kind);
        if (static_cast<std::size_t>(view) >= cameras.current.size() || cameras.current[static_cast<std::size_t>(view)] < 0)
            return 0;
        if (cameras.cameras.empty()) {
            makeCamera(cameras, view);
            refreshMenu(kind);
        }
        Camera* camera = cameras.shownIn(view);
        // Without a user aircraft there is nothing for a camera to look from or at.
        if (camera == nullptr || FSinterface::getUserAcftID() == 0)
            return 0;
        camera->process(reinterpret_cast<CameraView*>(c));
        return 1;
    }
    case ViewAdded:
        for (CameraList& cameras : lists_)
            cameras.current.push_back(0);
        return 0;
    case ViewRemoved:
        for (CameraList& cameras : lists_)
            if (static_cast<std::size_t>(a) < cameras.current.size())
                cameras.current.erase(cameras.current.begin() + a);
        // The host moves the active view up with the others, without telling.
        if (a < activeView_) {
            --activeView_;
            refreshAllMenus();
        }
        return 0;
    case ActiveViewChanged:
        activeView_ = static_cast<int>(a);
        refreshAllMenus();
        return 0;
    default:
        return forwardEvent(event, a, b);
    }
}

// The view commands, the mouse and the wheel, for the camera the active view shows.
int Cameras::forwardEvent(int event, intptr_t a, intptr_t b) {
    if (event < EyeMove || event > MouseWheel)
        return 0;
    Camera* camera = current(kActiveKind);
    if (camera == nullptr)
        return 0;
    const auto* v = reinterpret_cast<const float*>(a);
    switch (event) {
    case EyeMove:
        camera->moveEye(v[0], v[1], v[2]);
        break;
    case ViewDirection:
        camera->lookAt(v[0], v[1], v[2]);
        break;
    case PanDirection:
        // (x, y, z): right, tilt, down.
        camera->rotateRate(v[2], v[1], v[0]);
        break;
    case PanAxis:
        camera->setAngle(*v, static_cast<int>(b));
        break;
    case Zoom:
        camera->zoomBy(*v);
        break;
    case MouseMove:
        camera->pan(*v, *reinterpret_cast<const float*>(b));
        break;
    default: // MouseWheel
        camera->zoomStep(static_cast<int>(a));
        break;
    }
    return 1;
}

void Cameras::newCamera(int kind) {
    kind = kindOrActive(kind);
    if (activeView_ < 0 || kind < 1 || kind > 3)
        return;
    CameraList& cameras = list(kind);
    if (cameras.full() || static_cast<std::size_t>(activeView_) >= cameras.current.size())
        return;
    makeCamera(cameras, activeView_);
    show(kind, static_cast<int>(cameras.cameras.size()) - 1, false);
}

// A copy of the camera the view shows, or a fresh one, named by its number in the list.
void Cameras::makeCamera(CameraList& cameras, int view) {
    std::unique_ptr<Camera> made;
    if (const Camera* shown = cameras.shownIn(view); shown != nullptr) {
        made = shown->clone();
        made->guid = Guid::create(); // a copy is a camera of its own, which markers must tell apart
    } else {
        made = freshCamera(cameras.kind, &settings_);
    }
    made->title = std::string(made->getTypeName()) + " Camera " + std::to_string(cameras.cameras.size() + 1);
    append(std::move(made));
}

void Cameras::deleteCamera(int kind) {
    kind = kindOrActive(kind);
    if (kind < 1 || kind > 3 || current(kind) == nullptr)
        return;
    CameraList& cameras = list(kind);
    const std::size_t minimum = defaultOffered() ? 0 : 1;
    if (cameras.cameras.size() <= minimum)
        return;
    remove(cameras, static_cast<std::size_t>(cameras.current[static_cast<std::size_t>(activeView_)]));
    refreshMenu(kind);
    showTitle(kind);
}

void Cameras::remove(CameraList& cameras, std::size_t index) {
    FSinterface::delMenuItem(cameras.cameras[index]->menuId);
    cameras.cameras.erase(cameras.cameras.begin() + static_cast<std::ptrdiff_t>(index));
    cameras.removedAt(static_cast<int>(index));
}

void Cameras::nextCamera() {
    if (activeKind_ < 1 || activeKind_ > 3 || activeView_ < 0)
        return;
    const CameraList& cameras = list(activeKind_);
    if (cameras.cameras.empty() || static_cast<std::size_t>(activeView_) >= cameras.current.size())
        return;
    const int count = static_cast<int>(cameras.cameras.size());
    const int index = cameras.current[static_cast<std::size_t>(activeView_)];
    show(activeKind_, index + 1 >= count ? 0 : index + 1, false);
}

void Cameras::prevCamera() {
    if (activeKind_ < 1 || activeKind_ > 3 || activeView_ < 0)
        return;
    const CameraList& cameras = list(activeKind_);
    if (cameras.cameras.empty() || static_cast<std::size_t>(activeView_) >= cameras.current.size())
        return;
    const int index = cameras.current[static_cast<std::size_t>(activeView_)];
    show(activeKind_, index <= 0 ? static_cast<int>(cameras.cameras.size()) - 1 : index - 1, false);
}

void Cameras::selectCamera(int kind, uint32_t menuId) {
    if (kind < 1 || kind > 3)
        return;
    const CameraList& cameras = list(kind);
    if (menuId == cameras.defaultEntry()) {
        if (defaultOffered())
            show(kind, -1, true);
        return;
    }
    if (const int index = cameras.indexOfEntry(menuId); index >= 0)
        show(kind, index, true);
}

bool Cameras::selectCameraByGuid(const Guid& guid) {
    for (CameraList& cameras : lists_)
        for (std::size_t i = 0; i < cameras.cameras.size(); ++i)
            if (cameras.cameras[i]->guid == guid) {
                show(cameras.kind, static_cast<int>(i), true);
                return true;
            }
    return FSinterface::selectCamera(guid);
}

void Cameras::show(int kind, int index, bool switchView) {
    CameraList& cameras = list(kind);
    if (activeView_ < 0 || static_cast<std::size_t>(activeView_) >= cameras.current.size())
        return;
    cameras.current[static_cast<std::size_t>(activeView_)] = index;
    if (switchView && FSinterface::selectModuleCamera(kind))
        activeKind_ = kind;
    refreshMenu(kind);
    showTitle(kind);
}

void Cameras::EditCamera(int kind) {
    kind = kindOrActive(kind);
    Camera* camera = current(kind);
    if (kind == Camera::kVC) {
        auto* vc = dynamic_cast<CameraVC*>(camera);
        if (vc == nullptr)
            invalid("Invalid camera", "Cameras::EditCamera");
        VCParams params;
        vc->getDlgParams(params);
        if (dialogs_ != nullptr && dialogs_->editVC(params))
            vc->setDlgParams(params);
    } else if (kind == Camera::kTower) {
        auto* tower = dynamic_cast<CameraTower*>(camera);
        if (tower == nullptr)
            invalid("Invalid camera", "Cameras::EditCamera");
        TowerParams params;
        tower->getDlgParams(params);
        if (dialogs_ != nullptr && dialogs_->editTower(params))
            tower->setDlgParams(params);
    } else if (kind == Camera::kSpot) {
        auto* spot = dynamic_cast<CameraSpot*>(camera);
        if (spot == nullptr)
            invalid("Invalid camera", "Cameras::EditCamera");
        SpotParams params;
        spot->getDlgParams(params);
        if (dialogs_ == nullptr || !dialogs_->editSpot(params))
            return;
        if (params.spotMode != spot->getSpotMode()) {
            std::unique_ptr<CameraSpot> replaced = CameraSpot::ofMode(params.spotMode, &settings_);
            if (replaced == nullptr)
                invalid("Invalid spot mode", "Cameras::EditCamera");
            replaced->target = spot->target;
            replaced->menuId = spot->menuId;
            replaced->guid = spot->guid;
            replaced->title = spot->title;
            CameraList& spots = list(Camera::kSpot);
            spots.cameras[static_cast<std::size_t>(spots.current[static_cast<std::size_t>(activeView_)])] =
                std::move(replaced);
            spot = dynamic_cast<CameraSpot*>(current(kind));
        }
        spot->setDlgParams(params);
        camera = spot;
    } else {
        return;
    }
    FSinterface::updateMenuItem(camera->menuId, camera->title);
}

void Cameras::editSettings() {
    CameraSettings edited = settings_;
    if (dialogs_ == nullptr || !dialogs_->editSettings(edited))
        return;
    settings_ = edited;
    writeCameraSettings(settingsFile_, settings_);
    for (CameraList& cameras : lists_)
        for (auto& camera : cameras.cameras)
            camera->rebuildFilters();
}

void Cameras::cycleTarget(bool forward) {
    Camera* camera = current(kActiveKind);
    if (camera == nullptr)
        return;
    camera->nextTarget(!forward);
    if (camera->target == 0 || !settings_.display)
        return;
    AcftData data;
    FSinterface::getAcftData(camera->target, data);
    FSinterface::showText(data.title + " " + data.tailNumber, 3, true);
}

void Cameras::zoomDefault() {
    if (Camera* camera = current(kActiveKind))
        camera->zoomBy(-1);
}

void Cameras::command() {
    if (Camera* camera = current(kActiveKind))
        camera->command();
}

void Cameras::towerToAircraft() {
    if (auto* tower = dynamic_cast<CameraTower*>(current(kActiveKind)))
        tower->toAircraft();
}

void Cameras::mousePan(bool begin, float* a, float* b) {
    if (Camera* camera = current(kActiveKind))
        camera->mousePan(begin, a, b);
}
