#pragma once

#include "host/HostBinder.h"

// Numbers of the internal records of a simulation object, one per version index.
namespace HostRecords {

constexpr PerVersion kControls = {40, 45, 50, 55, 60}; // ZHostControlRecord
constexpr PerVersion kControlChain = {41, 46, 51, 56,
                                      61};          // ZHostChainLink -> ZHostChainLink -> ZHostChainControl
constexpr PerVersion kExits = {42, 47, 52, 57, 62}; // ZHostExitRecord
constexpr PerVersion kTailhook = {43, 48, 53, 58, 63}; // ZHostTailhookRecord
constexpr PerVersion kWingFold = {44, 49, 54, 59, 64}; // ZHostWingFoldRecord

constexpr uint32_t of(const PerVersion& numbers, int versionIndex) {
    return numbers[static_cast<std::size_t>(versionIndex)];
}

} // namespace HostRecords
