#pragma once

#include <cstdint>

// The simulator's key events that reach an aircraft (docs/host/numbers.md).
namespace KeyEvent {
constexpr uint32_t FlapsAxis = 0x103E6; // -16384 retracted .. 16384 fully extended
constexpr uint32_t ParkingBrakeToggle = 0x100D8;
constexpr uint32_t Nav1 = 0x100AC; // BCD16
constexpr uint32_t Nav1Obs = 0x100B4;
constexpr uint32_t Nav2 = 0x100AD;
constexpr uint32_t Nav2Obs = 0x100B5;
constexpr uint32_t Adf = 0x103AF; // the recorded ADF word
constexpr uint32_t Com1 = 0x100AB;
constexpr uint32_t Com2 = 0x1038A;
constexpr uint32_t Transponder = 0x100B3;
constexpr uint32_t SmokeOn = 0x10201;
constexpr uint32_t SmokeOff = 0x10202;
constexpr uint32_t AutopilotOn = 0x10100;
constexpr uint32_t AutopilotOff = 0x100FF;
} // namespace KeyEvent
