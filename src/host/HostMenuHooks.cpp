#include "host/HostMenuHooks.h"

#include "alerts/ShowError.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "host/HostState.h"

namespace HostMenuHooks {

namespace {

// Called from the host's own handlers, which must never see an exception: a menu that cannot be
// built again leaves the module inert, as a failing listener does.
template <typename F> void guarded(F&& build) noexcept {
    try {
        build();
    } catch (...) {
        // What failed is in the log already: every ZephrelException writes itself there.
        showError("An unexpected error occured!", ZephrelException::DisablesModule);
        try {
            FSinterface::failureCleanup();
        } catch (...) {
            // The module is being made inert; there is nothing left to report to.
        }
    }
}

} // namespace

std::optional<int> itemForCommand(uint32_t command) {
    if (const auto id = hostState().menu.idOfCommand(command))
        return static_cast<int>(*id);
    return std::nullopt;
}

void checkMenu() {
    guarded([] {
        HostState& s = hostState();
        if (s.menu.lostByHost(s.bound))
            FSinterface::initMenu();
    });
}

// The host's new menus do not have the module's items: they are all built again.
void rebuildMenu() {
    guarded([] { FSinterface::initMenu(); });
}

void disableItems() {
    HostState& s = hostState();
    s.menu.disableAll(s.bound);
}

} // namespace HostMenuHooks
