#include "cameras/CameraList.h"

#include <algorithm>

uint32_t CameraList::freeEntry() const {
    for (uint32_t id = command(6); id < command(6) + kMaxCameras; ++id)
        if (indexOfEntry(id) < 0)
            return id;
    return 0;
}

Camera* CameraList::shownIn(int view) const {
    if (view < 0 || static_cast<std::size_t>(view) >= current.size())
        return nullptr;
    const int index = current[static_cast<std::size_t>(view)];
    return index >= 0 && static_cast<std::size_t>(index) < cameras.size() ? cameras[static_cast<std::size_t>(index)].get()
                                                                          : nullptr;
}

int CameraList::indexOfEntry(uint32_t id) const {
    const auto found = std::find_if(cameras.begin(), cameras.end(), [id](const auto& c) { return c->menuId == id; });
    return found == cameras.end() ? -1 : static_cast<int>(found - cameras.begin());
}

void CameraList::removedAt(int removed) {
    for (int& index : current) {
        if (index == removed)
            index = 0;
        else if (index > removed)
            --index;
    }
}
