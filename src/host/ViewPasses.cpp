// The host's view passes (host events 21, 17 and 22): the module's view list follows the 3D views
// the host reports, and a listener may write the camera of each.

#include <algorithm>
#include <iterator>

#include "host/CameraDefinitions.h"
#include "host/CameraView.h"
#include "host/FSinterface.h"
#include "host/HostState.h"
#include "host/HostTexts.h"
#include "host/ViewHooks.h"

namespace {

// The view's index in the view list; a view not known yet is appended and announced.
int indexOf(HostState& s, ZHostView* view) {
    const auto known =
        std::find_if(s.views.begin(), s.views.end(), [view](const HostViewEntry& e) { return e.view == view; });
    if (known != s.views.end())
        return static_cast<int>(known - s.views.begin());
    HostViewEntry added;
    added.view = view;
    s.views.push_back(added);
    const int index = static_cast<int>(s.views.size()) - 1;
    FSinterface::callback(ViewAdded, index);
    return index;
}

// The listener's camera into the host's: a cockpit camera from the user aircraft's reference point,
// any other in the world. Clearing the motion words keeps the host from moving it on its own.
void writeCamera(ZHostCamera& camera, int kind, const CameraView& written) {
    if (kind == CameraDefinitions::kVirtualCockpit) {
        double reference[3];
        FSinterface::getUserRefPoint(reference);
        camera.offset[0] = written.x - static_cast<float>(reference[0]);
        camera.offset[1] = written.y - static_cast<float>(reference[1]);
        camera.offset[2] = written.z - static_cast<float>(reference[2]);
    } else {
        camera.worldPosition[0] = written.latitude;
        camera.worldPosition[1] = written.longitude;
        camera.worldPosition[2] = written.altitude;
    }
    camera.angles[0] = written.pitch;
    camera.angles[1] = written.bank;
    camera.angles[2] = written.heading;
    camera.zoom[0] = camera.zoom[1] = written.zoom;
    std::fill(std::begin(camera.motion), std::end(camera.motion), 0u);
}

} // namespace

namespace ViewHooks {

void viewPassStart(uint32_t, uintptr_t, uintptr_t) {
    HostState& s = hostState();
    if (s.stopping)
        return;
    for (HostViewEntry& entry : s.views)
        entry.seen = 0;
}

void cameraUpdate(uint32_t, uintptr_t viewArgument, uintptr_t) {
    HostState& s = hostState();
    auto* view = reinterpret_cast<ZHostView*>(viewArgument);
    if (s.stopping || view == nullptr || view->camera == nullptr)
        return;
    const int index = indexOf(s, view);
    s.views[static_cast<std::size_t>(index)].seen = 1;
    if (*s.bound.activeView == view && index != s.activeView) {
        const int old = s.activeView;
        s.activeView = index;
        FSinterface::callback(ActiveViewChanged, index, old);
    }
    const int kind = CameraDefinitions::kindOf(view->camera->identifier);
    CameraView written;
    if (FSinterface::callback(CameraUpdate, index, kind, reinterpret_cast<intptr_t>(&written)) != 0)
        writeCamera(*view->camera, kind, written);
}

void viewPassEnd(uint32_t, uintptr_t, uintptr_t) {
    HostState& s = hostState();
    if (s.stopping)
        return;
    for (int index = static_cast<int>(s.views.size()) - 1; index >= 0; --index) {
        const auto at = s.views.begin() + index;
        if (at->seen != 0)
            continue;
        HostTexts::freeCaption(*at);
        s.views.erase(at);
        if (index == s.activeView) {
            s.activeView = -1;
            FSinterface::callback(ActiveViewChanged, -1, index);
        } else if (index < s.activeView) {
            --s.activeView;
        }
        FSinterface::callback(ViewRemoved, index);
    }
}

} // namespace ViewHooks
