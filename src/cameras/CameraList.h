#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "cameras/Camera.h"

// The cameras of one kind in menu order, and for every view of the simulator the index of the
// camera it shows (−1: the simulator's own default view of that kind).
struct CameraList {
    static constexpr std::size_t kMaxCameras = 30;

    explicit CameraList(int ofKind) : kind(ofKind) {}

    int kind;
    std::vector<std::unique_ptr<Camera>> cameras;
    std::vector<int> current;

    // The menu ids: the submenu, its five commands (New … Save), the default view's entry, and
    // the first camera entry.
    uint32_t submenu() const { return static_cast<uint32_t>(10 + kind); }
    uint32_t command(int n) const { return static_cast<uint32_t>(100 * kind + n); }
    uint32_t defaultEntry() const { return command(5); }
    // The lowest entry id no camera uses; 0 when all 30 are taken.
    uint32_t freeEntry() const;
    // The camera view `view` shows; null for the default view or a view not known.
    Camera* shownIn(int view) const;
    // The index of the camera with that menu entry, −1 when none has it.
    int indexOfEntry(uint32_t id) const;
    bool full() const { return cameras.size() >= kMaxCameras; }
    // After the camera at `removed` went: the views on it go to the first camera (made anew at the
    // next frame when none is left), those after it move up with it.
    void removedAt(int removed);
};
