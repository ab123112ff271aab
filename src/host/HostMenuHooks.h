#pragma once

#include <cstdint>
#include <optional>

// Where the host binding meets the module's host menu (FSinterface's menu items, HostMenu).
namespace HostMenuHooks {

// The host numbers the module's items from here on: item id + kFirstCommand.
constexpr uint32_t kFirstCommand = 53566;

// The module item whose id + kFirstCommand is the host's command number, if any.
std::optional<int> itemForCommand(uint32_t command);
// Each frame: a negative menu position of the module's first command means the host rebuilt its
// menus, and the module menu is built again.
void checkMenu();
// The host reported new menus (system event 401): the module menu is built (again).
// Neither lets a failure through to the host: the error is shown and the module made inert.
void rebuildMenu();
// The failure clean-up leaves every module item disabled, in the host too; never throws.
void disableItems();

} // namespace HostMenuHooks
