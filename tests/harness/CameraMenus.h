#pragma once

#include "host/FSinterface.h"

// The "Zephrel" menu's camera submenus with their commands, as the module's menu object builds
// them, for tests and benchmarks that run the camera manager without it.
inline void buildCameraMenus() {
    FSinterface::addMenuItem(0, true, "Zephrel", 1, true);
    const char* const submenus[] = {"VC Cameras", "Tower Cameras", "Spot Cameras"};
    const char* const commands[] = {"New", "Delete", "Edit...", "Load...", "Save..."};
    for (uint32_t kind = 1; kind <= 3; ++kind) {
        FSinterface::addMenuItem(1, true, submenus[kind - 1], 10 + kind, true);
        for (uint32_t n = 0; n < 5; ++n)
            FSinterface::addMenuItem(10 + kind, false, commands[n], 100 * kind + n, true);
    }
    FSinterface::initMenu();
}
