#include "world/FlightModel.h"

#include <algorithm>
#include <cmath>

#include "world/Earth.h"
#include "world/World.h"

using HostNumbers::Quantity;

namespace {

constexpr double kVerticalAcceleration = 8; // feet per second squared
constexpr double kBankRate = 10;            // degrees per second
constexpr double kPitchRate = 4;            // degrees per second
constexpr double kMaxBank = 30;             // degrees
constexpr double kFullTravel = 16383;
constexpr double kFlapTravelSeconds = 10;
constexpr double kGearTravelSeconds = 6;

double toward(double current, double target, double maxStep) {
    return current + std::clamp(target - current, -maxStep, maxStep);
}

double restAltitude(const AircraftState& state, int64_t latitude, int64_t longitude) {
    return World::groundElevation(Earth::radians(Earth::latitudeDegrees(latitude)),
                                  Earth::radians(Earth::longitudeDegrees(longitude))) +
           state.type().referenceAboveGround * Earth::kMetresPerFoot;
}

// Moves the position by the mean of the old and new velocities over `seconds`, and keeps the
// reference point at or above its rest height. Returns whether it rests on the ground.
bool advance(const AircraftState& state, ZHostPosition& position, const std::array<double, 3>& before,
             std::array<double, 3>& after, double seconds) {
    const double metres = Earth::kMetresPerFoot * seconds / 2;
    Earth::move(position.latitude, position.longitude, (before[0] + after[0]) * metres,
                (before[2] + after[2]) * metres);
    const double rest = restAltitude(state, position.latitude, position.longitude);
    double altitude = Earth::altitudeMetres(position.altitude) + (before[1] + after[1]) * metres;
    // On the ground it follows the terrain until something lifts it off.
    if (altitude <= rest || (state.touching() && after[1] <= 0)) {
        altitude = rest;
        after[1] = std::max(after[1], 0.0);
    }
    position.altitude = Earth::altitudeRaw(altitude);
    return altitude <= rest;
}

} // namespace

namespace FlightModel {

void fly(AircraftState& state, const Guidance& guidance, double seconds) {
    const double heading = state.heading();
    const double turn = std::clamp(Earth::turn(heading, guidance.heading), -guidance.turnRate * seconds,
                                   guidance.turnRate * seconds);
    const double newHeading = Earth::normalizedHeading(heading + turn);
    const double speed = state.groundSpeed();
    const double newSpeed =
        std::max(0.0, speed + std::clamp(guidance.speed - speed, -guidance.deceleration * seconds,
                                         guidance.acceleration * seconds));
    const std::array<double, 3> before = state.velocity();
    const double feetPerSecond = newSpeed * Earth::kFeetPerSecondPerKnot;
    std::array<double, 3> after = {
        feetPerSecond * std::sin(Earth::radians(newHeading)),
        toward(before[1], guidance.verticalSpeed / 60, kVerticalAcceleration * seconds),
        feetPerSecond * std::cos(Earth::radians(newHeading)),
    };
    ZHostPosition position = state.position();
    const bool resting = advance(state, position, before, after, seconds);

    // Attitude: pitch along the flight path, bank for the turn being flown.
    const double path = resting ? 0 : Earth::degrees(std::atan2(after[1], std::max(feetPerSecond, 1.0)));
    const double turnRate = seconds > 0 ? Earth::radians(turn / seconds) : 0;
    const double bank =
        resting ? 0
                : std::clamp(-Earth::degrees(std::atan(feetPerSecond * turnRate / Earth::kGravity)),
                             -kMaxBank, kMaxBank);
    const double noseUp = -Earth::angleDegrees(position.pitch);
    position.pitch = Earth::angleRaw(-toward(noseUp, path + guidance.noseUp, kPitchRate * seconds));
    position.bank = Earth::angleRaw(toward(Earth::angleDegrees(position.bank), bank, kBankRate * seconds));
    position.heading = Earth::headingRaw(newHeading);
    state.move(position, after);
}

void coast(AircraftState& state, double seconds) {
    ZHostPosition position = state.position();
    std::array<double, 3> velocity = state.velocity();
    advance(state, position, velocity, velocity, seconds);
    state.move(position, velocity);
}

void moveSurfaces(AircraftState& state, double seconds) {
    const AircraftType& type = state.type();
    const double handle = state.quantity(Quantity::FlapHandleIndex);
    const double trailing =
        type.flapPositions > 0 ? std::clamp(handle / type.flapPositions, 0.0, 1.0) * kFullTravel : 0;
    // The slats come out fully with the first flap position.
    const double leading = type.flapPositions > 0 && handle > 0 ? kFullTravel : 0;
    const double flapStep = kFullTravel / kFlapTravelSeconds * seconds;
    for (const auto& [surface, target] : {std::pair{Quantity::TrailingEdgeFlapsInner, trailing},
                                          {Quantity::TrailingEdgeFlapsOuter, trailing},
                                          {Quantity::LeadingEdgeFlapsInner, leading},
                                          {Quantity::LeadingEdgeFlapsOuter, leading}})
        for (int side = 1; side <= 2; ++side)
            state.own(surface, side, toward(state.quantity(surface, side), target, flapStep));

    if (!type.retractableGear)
        state.own(Quantity::GearHandlePosition, 0, kFullTravel);
    const double gear = std::clamp(state.quantity(Quantity::GearHandlePosition) / kFullTravel, 0.0, 1.0);
    for (int leg = 1; leg <= 5; ++leg)
        state.own(Quantity::GearLegPosition, leg,
                  toward(state.quantity(Quantity::GearLegPosition, leg), gear, seconds / kGearTravelSeconds));
}

} // namespace FlightModel
