#pragma once

#include <cstdint>

// The ids of the module's menu items in the host's menu (the host's command number of an item is
// 53566 + id). The camera manager's items have ids of their own (100 ... 335).
enum MenuId : uint32_t {
    kMenuZephrel = 1,
    kMenuRecord = 2,
    kMenuPlay = 3,
    kMenuPlayAsTraffic = 4,
    kMenuAdvancedPlay = 5,
    kMenuInstantReplay = 6,
    kMenuStopPlayback = 7,
    kMenuSetMarker = 8,
    kMenuControlWindow = 9,
    kMenuDataWindow = 10,
    kMenuVCCameras = 11,
    kMenuTowerCameras = 12,
    kMenuSpotCameras = 13,
    kMenuCameraSettings = 14,
    kMenuRenderVideo = 15,
    kMenuPauseRendering = 16,
    kMenuSettings = 17,
    kMenuKeyboard = 18,
    kMenuAbout = 19,
};
