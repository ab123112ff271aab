#pragma once

#include <array>
#include <cstdint>
#include <string>

// The 47 bindable commands, in the order of their settings keys. A key code holds the virtual-key
// code in bits 0-7, 0x1000 for Shift and 0x2000 for Ctrl; 0 means no key.
enum class KeyCommand : uint8_t {
    Beginning, End, Back1, Back2, Back3, Forward1, Forward2, Forward3, SpeedInc, SpeedDec, SpeedReset, LoopIn,
    LoopOut, LoopToggle, HeightInc, HeightDec, PitchInc, PitchDec, Stop, StopHere, Record, Play, PlayAI,
    AdvancedPlay, Replay, ControlWindow, DataWindow, UserAcftNext, UserAcftPrev, SetMarker, NewCamera, DelCamera,
    EditCamera, NextCamera, PrevCamera, CamAcftNext, CamAcftPrev, AutoZoom, AutoPan, TowerToAircraft, MouseView,
    MouseViewToggle, LoadVC, LoadTower, LoadSpot, Render, PauseRender,
};

constexpr std::size_t kKeyCommandCount = 47;
constexpr uint16_t kShiftKey = 0x1000;
constexpr uint16_t kCtrlKey = 0x2000;

struct KeyCommandInfo {
    const char* settingsKey;
    const char* description; // as the keyboard dialog shows it
    uint16_t defaultCode;
};

const KeyCommandInfo& keyCommandInfo(KeyCommand command);

using KeyTable = std::array<uint16_t, kKeyCommandCount>;

KeyTable defaultKeyTable();

// [KEYCONFIG]: one decimal integer per command under its settings key, kept to 16 bits on reading.
KeyTable readKeyConfig(const std::string& file);
bool writeKeyConfig(const std::string& file, const KeyTable& keys);
