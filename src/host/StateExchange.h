#pragma once

#include <array>
#include <cstdint>

#include "host/FSinterface.h"
#include "host/HostState.h"
#include "host/HostVariables.h"

// What readData and writeData share: the layout of the extended groups and the aircraft whose
// lights are its own panel switches.
namespace StateExchange {

// extFlaps[2 * surface + side]: each surface's left (index 1) and right (index 2) value.
constexpr std::array<const HostVariables::PerTag*, 4> kFlapSurfaces = {
    &HostVariables::kTrailingEdgeFlapsInner, &HostVariables::kTrailingEdgeFlapsOuter,
    &HostVariables::kLeadingEdgeFlapsInner, &HostVariables::kLeadingEdgeFlapsOuter};
constexpr uint32_t kSides = 2;
constexpr uint32_t kGearLegs = 5;

// The engine levers of the continuous record, one per engine.
using Levers = int16_t[kMaxEngines];

// The user aircraft when it is a Level-D 767.
inline bool usesLevelDLights(uint32_t id) {
    return hostState().levelD767 && id == FSinterface::getUserAcftID();
}

// Host values stored in a record field: truncated toward zero into the field's type.
template <typename T> T truncated(double value) {
    return static_cast<T>(static_cast<int64_t>(value));
}

} // namespace StateExchange
