#include "world/Autopilot.h"

#include <algorithm>
#include <cmath>

#include "world/Earth.h"

using HostNumbers::Quantity;

namespace {

constexpr double kFullTravel = 16383;
constexpr double kEngineStartSeconds = 2;    // per engine
constexpr double kRotation = 8;              // degrees of pitch for the lift-off
constexpr double kAngleOfAttack = 2;         // degrees of pitch above the path in flight
constexpr double kLiftedOff = 35;            // feet: the take-off roll is over
constexpr double kGearUpHeight = 50;         // feet
constexpr double kFlapsUpHeight = 400;       // feet
constexpr double kLandingLightHeight = 1000; // feet
constexpr double kFlareHeight = 30;          // feet
constexpr double kGlideSlope = 3;            // degrees
constexpr double kGlideRate = 700;           // feet per minute, without engines
constexpr double kLevelTolerance = 20;       // feet
constexpr double kFinalStraight = 1500;      // metres before touchdown flown on the runway's line

} // namespace

Autopilot::Autopilot(AircraftState& state) : state_(state), performance_(Performance::of(state.type())) {
    enter(Phase::Hold);
}

void Autopilot::next() {
    enter(planned_ < plan_.size() ? plan_[planned_++] : Phase::Hold);
}

void Autopilot::enter(Phase phase) {
    phase_ = phase;
    phaseSeconds_ = 0;
    switch (phase) {
    case Phase::Taxi:
        originLatitude_ = state_.latitude();
        originLongitude_ = state_.longitude();
        track_ = state_.heading();
        state_.own(Quantity::ParkingBrakePosition, 0, 0);
        setLights(Light::Taxi, true);
        setThrottles(0.25);
        break;
    case Phase::TakeoffRoll:
        track_ = state_.heading();
        state_.own(Quantity::ParkingBrakePosition, 0, 0);
        configure(Configuration::Takeoff);
        setLights(Light::Taxi, false);
        setLights(Light::Landing | Light::Strobe, true);
        setThrottles(1);
        break;
    case Phase::Legs:
        leg_ = 0;
        setThrottles(0.7);
        break;
    case Phase::Approach:
        if (!touchdownPoint_)
            track_ = state_.heading();
        setThrottles(0.4);
        break;
    case Phase::Rollout:
        track_ = state_.heading();
        setThrottles(0);
        if (state_.type().spoilers)
            state_.own(Quantity::SpoilerHandle, 0, kFullTravel);
        break;
    case Phase::Hold:
        targetAltitude_ = altitudeFeet();
        break;
    default:
        break;
    }
}

Guidance Autopilot::guide(double seconds) {
    phaseSeconds_ += seconds;
    switch (phase_) {
    case Phase::StartEngines:
        return startEngines();
    case Phase::Stop:
        return stop();
    case Phase::ShutDown:
        return shutDown();
    case Phase::Taxi:
        return taxi();
    case Phase::TakeoffRoll:
        return takeoffRoll();
    case Phase::Climb:
        return climb();
    case Phase::Legs:
        return legs();
    case Phase::Approach:
        return approach();
    case Phase::Rollout:
        return rollout();
    case Phase::Hand:
        return handGuidance(state_, performance_, hands_);
    case Phase::Hold:
        break;
    }
    return hold();
}

void Autopilot::flyByHand(const HandControls& controls) {
    if (phase_ != Phase::Hand) {
        plan_.clear();
        planned_ = 0;
        enter(Phase::Hand);
    }
    hands_ = controls;
    setThrottles(std::clamp(controls.throttle, 0.0, 1.0));
    // Power against the parking brake means to move.
    if (controls.throttle > 0)
        state_.own(Quantity::ParkingBrakePosition, 0, 0);
}

HandControls Autopilot::handControls() const {
    if (phase_ == Phase::Hand)
        return hands_;
    HandControls controls;
    if (state_.type().engines > 0)
        controls.throttle = state_.quantity(Quantity::ThrottleLever, 1) / kFullTravel;
    return controls;
}

// Keeps heading and speed; the rates for where the aircraft is.
Guidance Autopilot::steady() const {
    Guidance guidance;
    guidance.heading = state_.heading();
    guidance.speed = state_.groundSpeed();
    guidance.acceleration = performance_.acceleration;
    const bool ground = state_.touching();
    guidance.turnRate = ground ? performance_.groundTurnRate : performance_.airTurnRate;
    guidance.deceleration = ground ? performance_.braking : 2;
    guidance.noseUp = ground ? 0 : kAngleOfAttack;
    return guidance;
}

Guidance Autopilot::hold() const {
    Guidance guidance = steady();
    if (state_.touching()) {
        guidance.speed = 0;
        return guidance;
    }
    // An aeroplane put into the air without speed picks some up; a helicopter may hover.
    guidance.speed = std::max(guidance.speed, performance_.rotateSpeed);
    guidance.verticalSpeed = state_.anyEngineRunning() ? verticalSpeedTo(targetAltitude_) : -kGlideRate;
    return guidance;
}

Guidance Autopilot::startEngines() {
    const AircraftType& type = state_.type();
    const int started = std::min(type.engines, static_cast<int>(phaseSeconds_ / kEngineStartSeconds));
    for (int engine = 1; engine <= started; ++engine) {
        if (state_.engineRunning(engine))
            continue;
        if (type.propAndMixture) {
            state_.own(Quantity::MixtureLever, engine, kFullTravel);
            state_.own(Quantity::PropellerLever, engine, kFullTravel);
        }
        state_.own(Quantity::ThrottleLever, engine, 0.1 * kFullTravel);
        state_.own(Quantity::EngineRunning, engine, 1);
    }
    setLights(Light::Beacon | Light::Nav, true);
    if (started == type.engines)
        next();
    return hold();
}

Guidance Autopilot::stop() {
    Guidance guidance = hold();
    if (!state_.touching()) {
        next();
        return guidance;
    }
    if (state_.groundSpeed() < 0.2) {
        state_.own(Quantity::ParkingBrakePosition, 0, 1);
        setThrottles(0);
        setLights(Light::Taxi, false);
        next();
    }
    return guidance;
}

Guidance Autopilot::shutDown() {
    for (int engine = 1; engine <= state_.type().engines; ++engine) {
        if (state_.type().propAndMixture)
            state_.own(Quantity::MixtureLever, engine, 0);
        state_.own(Quantity::EngineRunning, engine, 0);
    }
    setThrottles(0);
    setLights(Light::Beacon | Light::Strobe | Light::Landing | Light::Taxi, false);
    next();
    return hold();
}

// Straight ahead, slowing in time to stop where the distance ends.
Guidance Autopilot::taxi() {
    Guidance guidance = steady();
    guidance.heading = track_;
    const double remaining = order_.distance - Earth::distance(originLatitude_, originLongitude_,
                                                               state_.latitude(), state_.longitude());
    const double braking = 0.5 * performance_.braking * Earth::kFeetPerSecondPerKnot * Earth::kMetresPerFoot;
    const double stoppable = std::sqrt(2 * braking * std::max(remaining, 0.0)) / Earth::kMetresPerFoot /
                             Earth::kFeetPerSecondPerKnot;
    guidance.speed = std::min(performance_.taxiSpeed, stoppable);
    if (remaining <= 0.5) {
        setLights(Light::Taxi, false);
        setThrottles(0);
        next();
    }
    return guidance;
}

Guidance Autopilot::takeoffRoll() {
    Guidance guidance = steady();
    guidance.heading = track_;
    guidance.speed = performance_.climbSpeed;
    if (state_.groundSpeed() >= performance_.rotateSpeed) {
        guidance.noseUp = kRotation;
        guidance.verticalSpeed = performance_.climbRate;
    }
    if (heightFeet() > kLiftedOff)
        next();
    return guidance;
}

Guidance Autopilot::climb() {
    Guidance guidance = steady();
    guidance.heading = track_;
    guidance.speed = performance_.climbSpeed;
    guidance.verticalSpeed = verticalSpeedTo(targetAltitude_);
    configure(Configuration::Clean);
    setThrottles(0.9);
    if (std::abs(targetAltitude_ - altitudeFeet()) < kLevelTolerance) {
        setThrottles(0.7);
        next();
    }
    return guidance;
}

// Towards each leg's end in turn. A leg ends within a turn's lead of its point, or when the
// point has fallen behind within reach of a turn (no circling around it).
Guidance Autopilot::legs() {
    Guidance guidance = steady();
    if (leg_ >= legs_.size()) {
        next();
        return guidance;
    }
    const Leg& leg = legs_[leg_];
    const double distance =
        Earth::distance(state_.latitude(), state_.longitude(), leg.latitude, leg.longitude);
    const double bearing = Earth::bearing(state_.latitude(), state_.longitude(), leg.latitude, leg.longitude);
    guidance.heading = bearing;
    guidance.speed = leg.speed;
    guidance.verticalSpeed = verticalSpeedTo(leg.altitude);
    configure(leg.configuration);
    const double radius = performance_.turnRadius(state_.groundSpeed());
    const bool behind = std::abs(Earth::turn(state_.heading(), bearing)) > 90;
    if (distance < 200 + radius || (behind && distance < 2.5 * radius)) {
        if (++leg_ == legs_.size())
            next();
    }
    return guidance;
}

// Down to the ground: on a circuit to its start point, otherwise straight ahead on the glide
// slope; a flare over the last feet.
Guidance Autopilot::approach() {
    Guidance guidance = steady();
    configure(Configuration::Landing);
    guidance.heading = track_;
    guidance.speed = performance_.approachSpeed;
    const double speed = std::max(state_.groundSpeed(), 1.0) * Earth::kFeetPerSecondPerKnot;
    const double glide = speed * std::tan(Earth::radians(kGlideSlope)) * 60;
    guidance.verticalSpeed = -glide;
    if (touchdownPoint_) {
        const double distance =
            Earth::distance(state_.latitude(), state_.longitude(), originLatitude_, originLongitude_);
        const double bearing =
            Earth::bearing(state_.latitude(), state_.longitude(), originLatitude_, originLongitude_);
        const double along = distance * std::cos(Earth::radians(Earth::turn(track_, bearing)));
        if (along > kFinalStraight)
            guidance.heading = bearing;
        if (along > 0) {
            const double secondsToGo = along / (speed * Earth::kMetresPerFoot);
            guidance.verticalSpeed =
                std::clamp(-heightFeet() / secondsToGo * 60, -performance_.descentRate, -200.0);
        }
    }
    const double height = heightFeet();
    if (height < kFlareHeight) {
        guidance.speed = performance_.touchdownSpeed;
        guidance.verticalSpeed = -(100 + 8 * height);
        guidance.noseUp = kAngleOfAttack + 2;
        setThrottles(0);
    }
    if (state_.touching())
        next();
    return guidance;
}

Guidance Autopilot::rollout() {
    Guidance guidance = steady();
    guidance.heading = track_;
    guidance.speed = 0;
    if (state_.groundSpeed() < 0.5) {
        state_.own(Quantity::SpoilerHandle, 0, 0);
        state_.own(Quantity::FlapHandleIndex, 0, 0);
        setLights(Light::Landing | Light::Strobe, false);
        next();
    }
    return guidance;
}

double Autopilot::verticalSpeedTo(double altitude) const {
    return std::clamp((altitude - altitudeFeet()) * 3, -performance_.descentRate, performance_.climbRate);
}

double Autopilot::altitudeFeet() const {
    return state_.altitude() / Earth::kMetresPerFoot;
}

double Autopilot::heightFeet() const {
    return state_.height() / Earth::kMetresPerFoot;
}

// Flaps and gear for the configuration; after take-off the gear comes up once clear of the
// ground and the flaps a little higher. The landing lights burn below 1000 feet.
void Autopilot::configure(Configuration configuration) {
    const AircraftType& type = state_.type();
    const int positions = type.flapPositions;
    const double height = heightFeet();
    const bool airborne = !state_.touching();
    switch (configuration) {
    case Configuration::Takeoff:
        state_.own(Quantity::FlapHandleIndex, 0, positions > 0 ? std::max(1, (positions + 1) / 3) : 0);
        state_.own(Quantity::GearHandlePosition, 0, kFullTravel);
        break;
    case Configuration::Clean:
        if (type.retractableGear && airborne && height > kGearUpHeight)
            state_.own(Quantity::GearHandlePosition, 0, 0);
        if (height > kFlapsUpHeight)
            state_.own(Quantity::FlapHandleIndex, 0, 0);
        break;
    case Configuration::Approach:
        state_.own(Quantity::FlapHandleIndex, 0, (positions + 1) / 2);
        state_.own(Quantity::GearHandlePosition, 0, kFullTravel);
        break;
    case Configuration::Landing:
        state_.own(Quantity::FlapHandleIndex, 0, positions);
        state_.own(Quantity::GearHandlePosition, 0, kFullTravel);
        break;
    }
    if (airborne)
        setLights(Light::Landing, height < kLandingLightHeight);
}

void Autopilot::setThrottles(double ratio) {
    for (int engine = 1; engine <= state_.type().engines; ++engine)
        state_.own(Quantity::ThrottleLever, engine, ratio * kFullTravel);
}

void Autopilot::setLights(uint32_t lights, bool on) {
    const auto mask = static_cast<uint32_t>(state_.quantity(Quantity::LightStates));
    state_.own(Quantity::LightStates, 0, on ? (mask | lights) : (mask & ~lights));
}
