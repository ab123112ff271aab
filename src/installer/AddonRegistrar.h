#pragma once

#include "installer/Msi.h"

// AddonRegistrar's two exports, the installer custom actions on the simulator's dll.xml (see
// LaunchActions.h): ERROR_SUCCESS, or ERROR_FUNCTION_NOT_CALLED when they failed, whose reason
// goes to stderr. They never throw.
extern "C" {
uint32_t AddLaunchAddon(MSIHANDLE install);
uint32_t RemoveLaunchAddon(MSIHANDLE install);
}

using CustomAction = uint32_t (*)(MSIHANDLE install);
