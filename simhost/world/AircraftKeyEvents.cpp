#include <algorithm>
#include <cmath>
#include <cstdio>

#include "world/AircraftState.h"
#include "world/KeyEvents.h"

using HostNumbers::Quantity;

namespace {

double bcd16(uint32_t value) {
    return value & 0xFFFF;
}
double degrees(uint32_t value) {
    return value % 360;
}
double on(uint32_t) {
    return 1;
}
double off(uint32_t) {
    return 0;
}

// Events that set one variable from their value.
struct VariableEvent {
    uint32_t event;
    Quantity quantity;
    int index;
    double (*decode)(uint32_t value);
};

constexpr VariableEvent kVariableEvents[] = {
    {KeyEvent::Nav1, Quantity::NavActiveFrequency, 1, bcd16},
    {KeyEvent::Nav2, Quantity::NavActiveFrequency, 2, bcd16},
    {KeyEvent::Nav1Obs, Quantity::NavObs, 1, degrees},
    {KeyEvent::Nav2Obs, Quantity::NavObs, 2, degrees},
    {KeyEvent::Com1, Quantity::ComActiveFrequency, 1, bcd16},
    {KeyEvent::Com2, Quantity::ComActiveFrequency, 2, bcd16},
    {KeyEvent::Transponder, Quantity::TransponderCode, 0, bcd16},
    {KeyEvent::SmokeOn, Quantity::SmokeEnable, 0, on},
    {KeyEvent::SmokeOff, Quantity::SmokeEnable, 0, off},
    {KeyEvent::AutopilotOn, Quantity::AutopilotMaster, 0, on},
    {KeyEvent::AutopilotOff, Quantity::AutopilotMaster, 0, off},
};

// The flap handle index the axis value (a signed word) asks for, to the nearest position.
double flapHandleIndex(uint32_t value, int positions) {
    const double axis = static_cast<int32_t>(value);
    const double index = std::round((axis + 16384) / 32768 * positions);
    return std::clamp(index, 0.0, static_cast<double>(positions));
}

} // namespace

bool AircraftState::keyEvent(uint32_t event, uint32_t value) {
    for (const VariableEvent& simple : kVariableEvents) {
        if (simple.event == event) {
            write(simple.quantity, simple.index, simple.decode(value));
            return true;
        }
    }
    switch (event) {
    case KeyEvent::FlapsAxis:
        write(Quantity::FlapHandleIndex, 0, flapHandleIndex(value, type_.flapPositions));
        return true;
    case KeyEvent::ParkingBrakeToggle:
        write(Quantity::ParkingBrakePosition, 0, quantity(Quantity::ParkingBrakePosition) != 0 ? 0 : 1);
        return true;
    case KeyEvent::Adf:
        // The recorded word: kHz below 1000 in bits 16..27, thousands in 28..31, tenths in 12..15.
        write(Quantity::AdfFrequency, 1, (value >> 16) & 0x0FFF);
        write(Quantity::AdfExtendedFrequency, 1, ((value >> 20) & 0x0F00) | ((value >> 12) & 0x000F));
        return true;
    default:
        break;
    }
    char text[64];
    std::snprintf(text, sizeof text, "key event 0x%X the aircraft does not know", event);
    context_.wrongForms.report(text);
    return false;
}
