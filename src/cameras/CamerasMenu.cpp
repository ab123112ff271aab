// The camera manager's menu entries, their states and check marks, the title shown on a change,
// and the cameras as the marker dialog and playback list them.

#include "cameras/Cameras.h"

#include "common/ZephrelException.h"
#include "host/FSinterface.h"

namespace {

constexpr const char* kDefaultTitles[] = {"FS Default VC View", "FS Default Tower View", "FS Default Spot View"};
constexpr float kTitleSeconds = 3;
enum Command { New = 0, Delete = 1, Edit = 2, Load = 3, Save = 4 };

} // namespace

void Cameras::append(std::unique_ptr<Camera> camera) {
    CameraList& cameras = list(camera->getType());
    if (cameras.full())
        return;
    camera->menuId = cameras.freeEntry();
    FSinterface::addMenuItem(cameras.submenu(), false, camera->title, camera->menuId, true);
    cameras.cameras.push_back(std::move(camera));
}

void Cameras::addDefaultEntries() {
    for (const CameraList& cameras : lists_)
        FSinterface::addMenuItem(cameras.submenu(), false, kDefaultTitles[cameras.kind - 1], cameras.defaultEntry(),
                                 true);
}

void Cameras::refreshMenu(int kind) {
    const CameraList& cameras = list(kind);
    const bool offered = defaultOffered();
    const bool any = !cameras.cameras.empty();
    // Before the views are known, the first camera stands for them where the host offers no
    // default view.
    const Camera* shown = activeView_ >= 0 || offered || !any ? cameras.shownIn(activeView_)
                                                               : cameras.cameras.front().get();
    FSinterface::enableMenuItem(cameras.command(New), !cameras.full());
    FSinterface::enableMenuItem(cameras.command(Delete), offered ? shown != nullptr : cameras.cameras.size() > 1);
    FSinterface::enableMenuItem(cameras.command(Edit), offered ? shown != nullptr : any);
    FSinterface::enableMenuItem(cameras.command(Save), any);
    if (offered)
        FSinterface::checkMenuItem(cameras.defaultEntry(), shown == nullptr);
    for (const auto& camera : cameras.cameras)
        FSinterface::checkMenuItem(camera->menuId, camera.get() == shown);
}

void Cameras::refreshAllMenus() {
    for (const CameraList& cameras : lists_)
        refreshMenu(cameras.kind);
}

void Cameras::showTitle(int kind) {
    if (!settings_.display || kind != activeKind_)
        return;
    const Camera* shown = list(kind).shownIn(activeView_);
    FSinterface::showText(shown != nullptr ? shown->title : kDefaultTitles[kind - 1], kTitleSeconds, true);
}

std::size_t Cameras::getCamCount(int kind) const {
    kind = kindOrActive(kind);
    return kind == 0 ? FSinterface::getCameraCount() : list(kind).cameras.size();
}

std::string Cameras::getCamTitle(int kind, int index) const {
    kind = kindOrActive(kind);
    if (kind == 0 || (index < 0 && list(kind).shownIn(activeView_) == nullptr)) {
        const HostCamera host = hostCamera(index, "Cameras::getCamTitle");
        return host.title;
    }
    return moduleCamera(kind, index, "Cameras::getCamTitle").title;
}

Guid Cameras::getCamGuid(int kind, int index) const {
    kind = kindOrActive(kind);
    if (kind == 0 || (index < 0 && list(kind).shownIn(activeView_) == nullptr))
        return hostCamera(index, "Cameras::getCamGuid").guid;
    return moduleCamera(kind, index, "Cameras::getCamGuid").guid;
}

Guid Cameras::activeCameraGuid() const {
    if (const Camera* shown = current(kActiveKind))
        return shown->guid;
    Guid host{};
    FSinterface::getActiveCamera(host);
    return host;
}

const Camera& Cameras::moduleCamera(int kind, int index, const char* place) const {
    const CameraList& cameras = list(kind);
    const Camera* camera = index < 0 ? cameras.shownIn(activeView_)
                           : static_cast<std::size_t>(index) < cameras.cameras.size()
                               ? cameras.cameras[static_cast<std::size_t>(index)].get()
                               : nullptr;
    if (camera == nullptr)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, place, __LINE__, "Invalid camera index");
    return *camera;
}

// The simulator's camera by its index among the host's definitions, or (index < 0) the one the
// active view shows, named as the host names it.
Cameras::HostCamera Cameras::hostCamera(int index, const char* place) const {
    HostCamera host;
    bool found = false;
    if (index >= 0) {
        found = FSinterface::getCamera(static_cast<uint32_t>(index), host.title, host.guid);
    } else if (Guid shown{}; FSinterface::getActiveCamera(shown)) {
        for (uint32_t i = 0; !found && i < FSinterface::getCameraCount(); ++i)
            found = FSinterface::getCamera(i, host.title, host.guid) && host.guid == shown;
    }
    if (!found)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, place, __LINE__, "Invalid camera index");
    return host;
}
