#include "app/MarkerFiring.h"

#include "host/FSinterface.h"
#include "winsys/CommonDialogs.h"

void MarkerFiring::fire(const Marker& marker) {
    switch (marker.type) {
    case Marker::PlaySound: {
        const bool inside = cameras_ != nullptr && cameras_->isInsideView();
        const uint32_t wanted = inside ? Marker::kInsideViews : Marker::kOutsideViews;
        // A wave file that cannot be played is not worth interrupting the playback for.
        if ((marker.flags & wanted) != 0)
            win::sndPlaySound(marker.text.c_str(), win::SND_ASYNC);
        break;
    }
    case Marker::DisplayText:
        FSinterface::showText(marker.text, static_cast<float>(marker.flags & Marker::kTextSeconds),
                              (marker.flags & Marker::kScrolling) != 0);
        break;
    case Marker::Pause:
        FSinterface::setPaused(true);
        break;
    case Marker::SwitchCamera:
        if (cameras_ != nullptr)
            cameras_->selectCameraByGuid(Guid::fromBytes(marker.cameraId));
        break;
    default:
        break;
    }
}
