#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>

#include "host/hostabi.h"
#include "modules/HostNumbers.h"
#include "world/Aircraft.h"
#include "world/AircraftType.h"
#include "world/SimContext.h"

// Bits of the light-states mask.
namespace Light {
constexpr uint32_t Nav = 0x001;
constexpr uint32_t Beacon = 0x002;
constexpr uint32_t Landing = 0x004;
constexpr uint32_t Taxi = 0x008;
constexpr uint32_t Strobe = 0x010;
constexpr uint32_t Panel = 0x020;
constexpr uint32_t Recognition = 0x040;
constexpr uint32_t Wing = 0x080;
constexpr uint32_t Logo = 0x100;
constexpr uint32_t Cabin = 0x200;
} // namespace Light

// Everything the host keeps of one aircraft: position and attitude in the flight data record's
// formats (pitch positive nose down, bank positive left wing down, true heading), velocities, the
// variables, and the internal records add-ons reach by address.
//
// Two kinds of writer share the variables. An add-on's writes (write, place, writeVelocity) stand
// until the end of the next step; the simulation's own (own) give way to them, so that an add-on
// driving an aircraft each frame sees its values kept for that frame.
class AircraftState {
public:
    using Quantity = HostNumbers::Quantity;
    static constexpr int kMaxIndex = 5;
    static constexpr std::size_t kQuantities = static_cast<std::size_t>(Quantity::Count);

    AircraftState(uint32_t id, const AircraftType& type, SimContext& context, const StartPosition& start);
    AircraftState(const AircraftState&) = delete;
    AircraftState& operator=(const AircraftState&) = delete;

    uint32_t id() const { return id_; }
    const AircraftType& type() const { return type_; }
    SimContext& context() const { return context_; }
    const std::string& tailNumber() const { return tailNumber_; }
    void setTailNumber(const std::string& tailNumber) { tailNumber_ = tailNumber; }

    // A variable in its own unit; the index is 0 where the quantity has none, else 1..maxIndex.
    double quantity(Quantity quantity, int index = 0) const;
    void write(Quantity quantity, int index, double value);
    void own(Quantity quantity, int index, double value);
    bool held(Quantity quantity) const { return held_[static_cast<std::size_t>(quantity)]; }

    const ZHostPosition& position() const { return position_; }
    // An add-on places the aircraft (older hosts give the on-ground flag with the position).
    void place(const ZHostPosition& position, std::optional<bool> onGround);
    bool placed() const { return placed_; }
    const std::array<double, 3>& velocity() const { return velocity_; }
    void writeVelocity(const std::array<double, 3>& velocity);
    bool velocityHeld() const { return velocityHeld_; }
    // The simulation's own motion.
    void move(const ZHostPosition& position, const std::array<double, 3>& velocity);

    // The internal record, or null when this aircraft has none.
    void* record(HostNumbers::Record record);

    // A key event; false (and a wrong form counted) for one the host does not know.
    bool keyEvent(uint32_t event, uint32_t value);

    double latitude() const;  // degrees
    double longitude() const; // degrees
    double altitude() const;  // metres above mean sea level
    double heading() const;   // degrees true
    double groundAltitude() const;
    // Metres of the reference point above where it rests on the ground.
    double height() const;
    bool touching() const;
    double groundSpeed() const; // knots
    bool engineRunning(int engine) const { return quantity(Quantity::EngineRunning, engine) != 0; }
    bool anyEngineRunning() const;

    // After the motion of a step: airspeeds, wind and the on-ground flag afresh (where no add-on
    // wrote them), and the add-on's writes released.
    void finishStep();

private:
    double& slot(Quantity quantity, int index) {
        return values_[static_cast<std::size_t>(quantity)][static_cast<std::size_t>(index)];
    }
    double slot(Quantity quantity, int index) const {
        return values_[static_cast<std::size_t>(quantity)][static_cast<std::size_t>(index)];
    }
    void store(Quantity quantity, int index, double value);
    void setInitialState(bool airborne);
    void refreshDerived();

    uint32_t id_;
    AircraftType type_;
    SimContext& context_;
    std::string tailNumber_;

    ZHostPosition position_{};
    std::array<double, 3> velocity_{}; // feet per second east, up, north
    std::array<std::array<double, kMaxIndex + 1>, kQuantities> values_{};

    ZHostControlRecord controls_{};
    ZHostChainControl waterRudder_{};
    ZHostChainLink chainLast_{&waterRudder_};
    ZHostChainLink chainFirst_{&chainLast_};
    ZHostExitRecord exits_{};
    ZHostTailhookRecord tailhook_{};
    ZHostWingFoldRecord wingFold_{};

    std::bitset<kQuantities> held_;
    bool velocityHeld_ = false;
    bool placed_ = false;
    bool groundPending_ = false; // the on-ground flag is that of the position an add-on placed
};
