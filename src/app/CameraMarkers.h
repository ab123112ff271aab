#pragma once

#include <vector>

#include "app/ControllerSeams.h"

class Cameras;

// The camera manager as the markers reach it: the cameras a "Switch Camera" marker may name (the
// simulator's own and the module's), the switch it makes, and whether the active view is inside
// the aircraft.
class CameraMarkers : public CameraManager {
public:
    explicit CameraMarkers(Cameras& cameras) : cameras_(cameras) {}

    std::vector<CameraChoice> markerCameras() const override;
    void selectCameraByGuid(const Guid& guid) override;
    bool isInsideView() const override;
    Guid activeCameraGuid() const override;

private:
    Cameras& cameras_;
};
