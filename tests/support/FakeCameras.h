#pragma once

#include <optional>
#include <vector>

#include "app/ControllerSeams.h"

// The camera manager as the controller reaches it: the active view shows the camera last selected.
class FakeCameras : public CameraManager {
public:
    std::vector<CameraChoice> markerCameras() const override { return {}; }
    void selectCameraByGuid(const Guid& guid) override { selected = guid; }
    bool isInsideView() const override { return inside; }
    Guid activeCameraGuid() const override { return selected.value_or(Guid{}); }
    bool inside = false;
    std::optional<Guid> selected;
};
