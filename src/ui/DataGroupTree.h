#pragma once

#include <cstdint>

#include "common/DataGroups.h"
#include "winsys/WinSys.h"

// A tree view with check boxes (TVS_CHECKBOXES) listing the data groups by name in the dialogs'
// order, each item carrying its group id.
namespace DataGroupTree {

// Fills the tree; a group is checked when the masks hold any of its bits.
void show(win::HWND tree, uint32_t contFlags, uint32_t discFlags);

// The masks shown by `show` with the user's clicks applied: a group checked or unchecked sets or
// clears all its bits, and a group left as it was keeps the bits it had (one of the airspeeds, a
// bit this program does not know). Extended data is kept only beside its base groups.
DataMasks edited(win::HWND tree, uint32_t contFlags, uint32_t discFlags);

} // namespace DataGroupTree
