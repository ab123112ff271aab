#include "world/AircraftState.h"

#include <algorithm>
#include <cmath>

#include "world/Earth.h"
#include "world/Performance.h"
#include "world/World.h"

using HostNumbers::Quantity;
using HostNumbers::Record;

namespace {

constexpr double kFullTravel = 16383;    // a lever or surface all the way
constexpr double kTouchTolerance = 0.01; // metres: resting on the ground, give or take rounding

constexpr uint16_t kNav1 = 0x1090; // 110.90
constexpr uint16_t kNav2 = 0x1130; // 111.30
constexpr uint16_t kAdf = 0x0344;  // 344 kHz
constexpr uint16_t kCom1 = 0x2270; // 122.70
constexpr uint16_t kCom2 = 0x1800; // 118.00
constexpr uint16_t kSquawk = 0x1200;

bool perEngine(Quantity quantity) {
    return HostNumbers::info(quantity).maxIndex == 4;
}

// The standard atmosphere at an altitude in metres: temperature (kelvin) and density ratio.
void atmosphere(double metres, double& temperature, double& densityRatio) {
    constexpr double kTropopause = 11000;
    if (metres < kTropopause) {
        temperature = 288.15 - 0.0065 * metres;
        densityRatio = std::pow(temperature / 288.15, 4.2559);
        return;
    }
    temperature = 216.65;
    densityRatio = 0.29708 * std::exp(-(metres - kTropopause) / 6341.6);
}

} // namespace

AircraftState::AircraftState(uint32_t id, const AircraftType& type, SimContext& context,
                             const StartPosition& start)
    : id_(id), type_(type), context_(context), tailNumber_(type.tailNumber) {
    const double rest =
        World::groundElevation(Earth::radians(start.latitude), Earth::radians(start.longitude)) +
        type_.referenceAboveGround * Earth::kMetresPerFoot;
    const bool airborne = start.altitudeAboveGround > kTouchTolerance;
    position_.latitude = Earth::latitudeRaw(start.latitude);
    position_.longitude = Earth::longitudeRaw(start.longitude);
    position_.altitude = Earth::altitudeRaw(rest + (airborne ? start.altitudeAboveGround : 0));
    position_.heading = Earth::headingRaw(start.heading);
    setInitialState(airborne);
    refreshDerived();
}

// On the ground: cold and parked. In the air: cruising clean at the en-route speed.
void AircraftState::setInitialState(bool airborne) {
    for (int engine = 1; engine <= type_.engines; ++engine) {
        store(Quantity::ThrottleLever, engine, airborne ? 0.7 * kFullTravel : 0);
        store(Quantity::PropellerLever, engine, type_.propAndMixture ? kFullTravel : 0);
        store(Quantity::MixtureLever, engine, type_.propAndMixture ? kFullTravel : 0);
        store(Quantity::EngineRunning, engine, airborne ? 1 : 0);
    }
    const bool gearUp = airborne && type_.retractableGear;
    store(Quantity::GearHandlePosition, 0, gearUp ? 0 : kFullTravel);
    for (int leg = 1; leg <= 5; ++leg)
        store(Quantity::GearLegPosition, leg, gearUp ? 0 : 1);
    store(Quantity::ParkingBrakePosition, 0, airborne ? 0 : 1);
    store(Quantity::LightStates, 0, airborne ? Light::Nav | Light::Beacon | Light::Strobe : 0);
    store(Quantity::NavActiveFrequency, 1, kNav1);
    store(Quantity::NavActiveFrequency, 2, kNav2);
    store(Quantity::AdfFrequency, 1, kAdf);
    store(Quantity::ComActiveFrequency, 1, kCom1);
    store(Quantity::ComActiveFrequency, 2, kCom2);
    store(Quantity::TransponderCode, 0, kSquawk);
    if (airborne) {
        const double speed = Performance::of(type_).routeSpeed(altitude() / Earth::kMetresPerFoot) *
                             Earth::kFeetPerSecondPerKnot;
        const double heading = Earth::radians(this->heading());
        velocity_ = {speed * std::sin(heading), 0, speed * std::cos(heading)};
    }
}

double AircraftState::quantity(Quantity quantity, int index) const {
    if (index < 0 || index > kMaxIndex)
        return 0;
    switch (quantity) {
    case Quantity::MainExitOpen:
        return exits_.open[0];
    case Quantity::TailhookPosition:
        return tailhook_.position;
    case Quantity::WingFoldLeft:
        return wingFold_.left;
    case Quantity::WingFoldRight:
        return wingFold_.right;
    case Quantity::GroundAltitude:
        return groundAltitude();
    case Quantity::OnGround:
        return groundPending_ ? (touching() ? 1 : 0) : slot(quantity, index);
    case Quantity::MagneticVariation:
        return World::magneticVariation(Earth::radians(latitude()), Earth::radians(longitude()));
    case Quantity::ReferenceAboveGround:
        return type_.referenceAboveGround;
    case Quantity::FlapPositions:
        return type_.flapPositions;
    case Quantity::EngineCount:
        return type_.engines;
    case Quantity::HasFlaps:
        return type_.flapPositions > 0 ? 1 : 0;
    case Quantity::HasRetractableGear:
        return type_.retractableGear ? 1 : 0;
    case Quantity::HasSpoilers:
        return type_.spoilers ? 1 : 0;
    case Quantity::HasPropAndMixture:
        return type_.propAndMixture ? 1 : 0;
    case Quantity::StaticCgHeight:
        return type_.staticCgHeight;
    default:
        return slot(quantity, index);
    }
}

void AircraftState::write(Quantity quantity, int index, double value) {
    store(quantity, index, value);
    held_.set(static_cast<std::size_t>(quantity));
}

void AircraftState::own(Quantity quantity, int index, double value) {
    if (!held(quantity))
        store(quantity, index, value);
}

// The main exit, tailhook and wing fold live in the records add-ons also reach by address; an
// engine the aircraft does not have keeps reading 0.
void AircraftState::store(Quantity quantity, int index, double value) {
    if (index < 0 || index > kMaxIndex || HostNumbers::info(quantity).readOnly)
        return;
    if (perEngine(quantity) && index > type_.engines)
        return;
    const float ratio = static_cast<float>(value);
    if (quantity == Quantity::OnGround)
        groundPending_ = false;
    switch (quantity) {
    case Quantity::MainExitOpen:
        exits_.open[0] = ratio;
        return;
    case Quantity::TailhookPosition:
        tailhook_.position = ratio;
        return;
    case Quantity::WingFoldLeft:
        wingFold_.left = ratio;
        return;
    case Quantity::WingFoldRight:
        wingFold_.right = ratio;
        return;
    default:
        slot(quantity, index) = value;
    }
}

void AircraftState::place(const ZHostPosition& position, std::optional<bool> onGround) {
    position_ = position;
    placed_ = true;
    if (onGround.has_value())
        write(Quantity::OnGround, 0, *onGround ? 1 : 0);
    else if (!held(Quantity::OnGround))
        groundPending_ = true; // worked out from the terrain only if read before the next step
}

void AircraftState::writeVelocity(const std::array<double, 3>& velocity) {
    velocity_ = velocity;
    velocityHeld_ = true;
}

void AircraftState::move(const ZHostPosition& position, const std::array<double, 3>& velocity) {
    position_ = position;
    velocity_ = velocity;
}

void* AircraftState::record(Record record) {
    switch (record) {
    case Record::Controls:
        return &controls_;
    case Record::ControlChain:
        return type_.waterRudder ? &chainFirst_ : nullptr;
    case Record::Exits:
        return &exits_;
    case Record::Tailhook:
        return type_.tailhook ? &tailhook_ : nullptr;
    case Record::WingFold:
        return type_.wingFold ? &wingFold_ : nullptr;
    case Record::Count:
        break;
    }
    return nullptr;
}

double AircraftState::latitude() const {
    return Earth::latitudeDegrees(position_.latitude);
}

double AircraftState::longitude() const {
    return Earth::longitudeDegrees(position_.longitude);
}

double AircraftState::altitude() const {
    return Earth::altitudeMetres(position_.altitude);
}

double AircraftState::heading() const {
    return Earth::headingDegrees(position_.heading);
}

double AircraftState::groundAltitude() const {
    return World::groundElevation(Earth::radians(latitude()), Earth::radians(longitude()));
}

double AircraftState::height() const {
    return altitude() - groundAltitude() - type_.referenceAboveGround * Earth::kMetresPerFoot;
}

bool AircraftState::touching() const {
    return height() <= kTouchTolerance;
}

double AircraftState::groundSpeed() const {
    return std::hypot(velocity_[0], velocity_[2]) / Earth::kFeetPerSecondPerKnot;
}

bool AircraftState::anyEngineRunning() const {
    for (int engine = 1; engine <= type_.engines; ++engine)
        if (engineRunning(engine))
            return true;
    return false;
}

void AircraftState::finishStep() {
    refreshDerived();
    held_.reset();
    velocityHeld_ = false;
    placed_ = false;
}

// Airspeeds are the motion through the air: the velocity over the ground less the wind's.
void AircraftState::refreshDerived() {
    double direction = 0;
    double speed = 0;
    World::wind(Earth::radians(latitude()), Earth::radians(longitude()), altitude(), direction, speed);
    own(Quantity::WindDirection, 0, direction);
    own(Quantity::WindSpeed, 0, speed);
    const double from = Earth::radians(quantity(Quantity::WindDirection));
    const double wind = quantity(Quantity::WindSpeed) * Earth::kFeetPerSecondPerKnot;
    const double east = velocity_[0] + wind * std::sin(from);
    const double north = velocity_[2] + wind * std::cos(from);
    const double trueFeetPerSecond = std::sqrt(east * east + velocity_[1] * velocity_[1] + north * north);
    double temperature = 0;
    double densityRatio = 0;
    atmosphere(altitude(), temperature, densityRatio);
    const double soundMetresPerSecond = std::sqrt(1.4 * 287.05 * temperature);
    own(Quantity::TrueAirspeed, 0, trueFeetPerSecond / Earth::kFeetPerSecondPerKnot);
    own(Quantity::IndicatedAirspeed, 0,
        trueFeetPerSecond / Earth::kFeetPerSecondPerKnot * std::sqrt(densityRatio));
    own(Quantity::MachNumber, 0, trueFeetPerSecond * Earth::kMetresPerFoot / soundMetresPerSecond);
    own(Quantity::OnGround, 0, touching() ? 1 : 0);
}
