#include "world/HandFlying.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kAngleOfAttack = 2; // degrees of pitch above the path in flight
constexpr double kNoseTravel = 6;    // degrees more (or less) with the stick fully back (forward)
constexpr double kGlideRate = 700;   // feet per minute, without engines

} // namespace

Guidance handGuidance(const AircraftState& state, const Performance& performance,
                      const HandControls& controls) {
    const double elevator = std::clamp(controls.elevator, -1.0, 1.0);
    const double aileron = std::clamp(controls.aileron, -1.0, 1.0);
    const double throttle = std::clamp(controls.throttle, 0.0, 1.0);
    const bool ground = state.touching();
    const bool power = state.anyEngineRunning();

    Guidance guidance;
    guidance.acceleration = performance.acceleration;
    guidance.deceleration = controls.brakes ? performance.braking : 2;
    // The aileron turns toward its side, as fast as it is deflected.
    guidance.heading = std::fmod(state.heading() + (aileron < 0 ? -90.0 : 90.0) + 360.0, 360.0);
    guidance.turnRate =
        std::abs(aileron) * (ground ? performance.groundTurnRate : 2 * performance.airTurnRate);
    if (ground) {
        guidance.speed = controls.brakes || !power ? 0 : throttle * performance.cruiseSpeed;
        const bool flying = elevator > 0 && state.groundSpeed() >= performance.rotateSpeed && power;
        guidance.verticalSpeed = flying ? elevator * performance.climbRate : 0;
        guidance.noseUp = flying ? elevator * kNoseTravel : 0;
        return guidance;
    }
    const double slowest = std::max(performance.approachSpeed, performance.rotateSpeed);
    guidance.speed = slowest + throttle * std::max(0.0, performance.cruiseSpeed - slowest);
    const double rate = elevator >= 0 ? performance.climbRate : performance.descentRate;
    guidance.verticalSpeed = power ? elevator * rate : -kGlideRate + std::min(0.0, elevator) * kGlideRate;
    guidance.noseUp = kAngleOfAttack + elevator * kNoseTravel;
    return guidance;
}
