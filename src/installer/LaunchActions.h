#pragma once

#include <cstdint>

#include "installer/Msi.h"

// The two custom actions on the simulator's dll.xml, reading and setting the installer's
// properties:
//   FSXADDONNAME (up to 49 bytes)  the add-on's entry name                    both
//   FSXADDONFILE (259)             the module's file name                     add
//   INSTALLDIR (259)               the installation folder                    add
//   AppDataFolder (259)            the user's application data folder         both
//   ProductName (259)              the caption of the failure message         remove
//   FSXADDLAUNCHRESULT             "0" at the start, "1" after success        add
//   FSXREMOVELAUNCHRESULT          "0" at the start, "1" after success        remove
// Both return ERROR_SUCCESS or throw; the exports turn a throw into ERROR_FUNCTION_NOT_CALLED.

// Adds or updates the entry of the module INSTALLDIR/FSXADDONFILE. A missing dll.xml is created
// (and its folder below the application data folder); one that cannot be read or edited is left
// as it was.
uint32_t addLaunchAddon(MSIHANDLE install);

// Removes the entry. When that fails (no dll.xml, no such entry, a file that cannot be edited),
// the warning "Launch addon entry could not be removed from dll.xml file!" is shown with the
// product name as its caption before the failure goes on.
uint32_t removeLaunchAddon(MSIHANDLE install);
