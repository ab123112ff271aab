#include "app/CameraMarkers.h"

#include "cameras/Camera.h"
#include "cameras/Cameras.h"

std::vector<CameraChoice> CameraMarkers::markerCameras() const {
    std::vector<CameraChoice> choices;
    for (int kind = CameraChoice::Simulator; kind <= CameraChoice::Spot; ++kind)
        for (std::size_t i = 0; i < cameras_.getCamCount(kind); ++i) {
            const int index = static_cast<int>(i);
            choices.push_back({static_cast<CameraChoice::Kind>(kind), cameras_.getCamTitle(kind, index),
                               cameras_.getCamGuid(kind, index)});
        }
    return choices;
}

void CameraMarkers::selectCameraByGuid(const Guid& guid) {
    cameras_.selectCameraByGuid(guid);
}

Guid CameraMarkers::activeCameraGuid() const {
    return cameras_.activeCameraGuid();
}

// The virtual cockpit is the module's one view from inside the aircraft.
bool CameraMarkers::isInsideView() const {
    return cameras_.activeKind() == Camera::kVC;
}
