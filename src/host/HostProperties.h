#pragma once

#include <array>
#include <cstdint>

#include "host/HostBinder.h"

// Property ids of the simulator's simulation objects, one per build tag (column i is build tag i+1).
namespace HostProperties {
using PerTag = std::array<uint32_t, kHostVersionCount>;

constexpr PerTag kTitle = {0x201, 0x202, 0x203, 0x204, 0x205};
constexpr PerTag kTailNumber = {0x202, 0x203, 0x204, 0x205, 0x206};
constexpr PerTag kCategory = {0x203, 0x204, 0x205, 0x206, 0x200};
constexpr PerTag kPosition = {0x204, 0x205, 0x206, 0x200, 0x201};
constexpr PerTag kVelocity = {0x205, 0x206, 0x200, 0x201, 0x202};
constexpr PerTag kReferencePoint = {0x206, 0x200, 0x201, 0x202, 0x203};
constexpr PerTag kEyePoint = {0x200, 0x201, 0x202, 0x203, 0x204};

constexpr uint32_t of(const PerTag& ids, int buildTag) { return ids[static_cast<std::size_t>(buildTag - 1)]; }
} // namespace HostProperties
