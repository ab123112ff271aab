#include "HostMenuHooks.h"

namespace HostMenuHooks {

// No module menu yet: no command is one of its items.
std::optional<int> itemForCommand(uint32_t) { return std::nullopt; }

// No module menu yet: nothing for the host to have lost.
void checkMenu() {}

// No module menu yet: nothing to build again.
void rebuildMenu() {}

// No module menu yet: no item to disable.
void disableItems() {}

} // namespace HostMenuHooks
