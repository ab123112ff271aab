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

constexpr int kKeyF1 = 0x70;
constexpr int kKeyF4 = 0x73;
constexpr int kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
constexpr int kNumpad0 = 0x60;
constexpr int kPeriod = 0xBE;
constexpr double kStickStep = 0.1;
constexpr double kThrottleStep = 0.1;

// The stick on the arrows or the keypad (forward is nose down), the throttle on F1 (idle) to F4
// (full), the brakes on "." while it is held. False for any other key.
bool flyByHand(Aircraft& user, int virtualKey, bool down) {
    HandControls controls = user.handControls();
    if (virtualKey == kPeriod) {
        controls.brakes = down;
    } else if (!down) {
        return false;
    } else if (virtualKey == kUp || virtualKey == kNumpad0 + 8) {
        controls.elevator -= kStickStep;
    } else if (virtualKey == kDown || virtualKey == kNumpad0 + 2) {
        controls.elevator += kStickStep;
    } else if (virtualKey == kLeft || virtualKey == kNumpad0 + 4) {
        controls.aileron -= kStickStep;
    } else if (virtualKey == kRight || virtualKey == kNumpad0 + 6) {
        controls.aileron += kStickStep;
    } else if (virtualKey == kNumpad0 + 5) {
        controls.elevator = controls.aileron = 0;
    } else if (virtualKey >= kKeyF1 && virtualKey <= kKeyF4) {
        const double steps[] = {-1, -kThrottleStep, kThrottleStep, 1};
        controls.throttle += steps[virtualKey - kKeyF1];
    } else {
        return false;
    }
    controls.elevator = std::clamp(controls.elevator, -1.0, 1.0);
    controls.aileron = std::clamp(controls.aileron, -1.0, 1.0);
    controls.throttle = std::clamp(controls.throttle, 0.0, 1.0);
    user.flyByHand(controls);
    return true;
}

} // namespace

bool applySimulatorKey(Simulator& simulator, int virtualKey, bool down) {
    Aircraft* user = simulator.world().user();
    const bool shift = (win::GetAsyncKeyState(win::VK_SHIFT) & 0x8000) != 0;
    const bool ctrl = (win::GetAsyncKeyState(win::VK_CONTROL) & 0x8000) != 0;
    if (!shift && !ctrl && user != nullptr && flyByHand(*user, virtualKey, down))
        return true;
    if (!down)
        return false;
    if (const auto command = viewCommandForKey(virtualKey, shift, ctrl))
        return simulator.viewCommand(*command, 0);
    if (virtualKey == 'P') {
        simulator.setPaused(!simulator.paused());
        return true;
    }
    if (virtualKey == 'E' && ctrl && !shift) {
        ManoeuvreOrder start;
        start.kind = ManoeuvreOrder::StartEngines;
        if (user != nullptr)
            user->fly(start);
        return true;
    }
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
