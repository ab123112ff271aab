#include "services/SimulatorKeys.h"

#include <algorithm>

#include "services/Simulator.h"
#include "services/ViewCommandKeys.h"
#include "winsys/Input.h"
#include "winsys/Messages.h"

namespace {

constexpr int kKeyF5 = 0x74;
constexpr int kKeyF6 = 0x75;
constexpr int kKeyF7 = 0x76;
constexpr int kKeyF8 = 0x77;
constexpr double kGearDown = 16383;

using HostNumbers::Quantity;

void toggleGear(Aircraft& user) {
    if (!user.type().retractableGear)
        return;
    const bool down = user.quantity(Quantity::GearHandlePosition) > kGearDown / 2;
    user.setQuantity(Quantity::GearHandlePosition, 0, down ? 0 : kGearDown);
}

void moveFlaps(Aircraft& user, int virtualKey) {
    const int positions = user.type().flapPositions;
    if (positions == 0)
        return;
    const int now = static_cast<int>(user.quantity(Quantity::FlapHandleIndex));
    const int wanted = virtualKey == kKeyF5   ? 0
                       : virtualKey == kKeyF6 ? now - 1
                       : virtualKey == kKeyF7 ? now + 1
                                              : positions;
    user.setQuantity(Quantity::FlapHandleIndex, 0, std::clamp(wanted, 0, positions));
}

} // namespace

bool applySimulatorKey(Simulator& simulator, int virtualKey) {
    const bool shift = (win::GetAsyncKeyState(win::VK_SHIFT) & 0x8000) != 0;
    const bool ctrl = (win::GetAsyncKeyState(win::VK_CONTROL) & 0x8000) != 0;
    if (const auto command = viewCommandForKey(virtualKey, shift, ctrl))
        return simulator.viewCommand(*command, 0);
    if (virtualKey == 'P') {
        simulator.setPaused(!simulator.paused());
        return true;
    }
    Aircraft* user = simulator.world().user();
    if (virtualKey == 'G') {
        if (user != nullptr)
            toggleGear(*user);
        return true;
    }
    if (virtualKey >= kKeyF5 && virtualKey <= kKeyF8) {
        if (user != nullptr)
            moveFlaps(*user, virtualKey);
        return true;
    }
    return false;
}
