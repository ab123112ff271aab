#pragma once

#include <cstdint>

#include "system/Guid.h"

// The module's three camera definitions in the host ("Zephrel VC", "Zephrel Tower", "Zephrel
// Spot"): their fixed identifiers tell a view showing one of the module's cameras, and the kind
// of that camera, from a view showing any other.
namespace CameraDefinitions {

// Camera kinds, as the CameraUpdate event and the module's cameras number them.
constexpr int kOther = 0;
constexpr int kVirtualCockpit = 1;
constexpr int kTower = 2;
constexpr int kSpot = 3;

// kOther for an identifier that is none of the module's.
int kindOf(const uint8_t identifier[16]);
const Guid::Bytes& identifier(int kind);

// Creates and registers the three definitions in the host, once per run; none while cameras are
// disabled.
void registerAll();

} // namespace CameraDefinitions
