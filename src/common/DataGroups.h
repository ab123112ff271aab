#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The data groups as the user sees them in dialogs: 22 named groups, some standing for several
// flag bits that are always set and cleared together.
struct DataGroup {
    uint32_t id; // 1..22
    const char* name;
    uint32_t contBits;
    uint32_t discBits;
};

constexpr uint32_t kDataGroupCount = 22;

// The group with this id (1..22).
const DataGroup& dataGroup(uint32_t id);

// All group ids in the order the dialogs list them.
std::span<const uint32_t> dataGroupSelectionOrder();

struct ContainedGroup {
    uint32_t id;
    std::string name;
};

// The groups a stored track holds, in selection order; "Date & Time" reads "Date" or "Time" when
// only one of its bits is present, and "Extended Data" shows if any extended bit is present.
std::vector<ContainedGroup> containedDataGroups(uint32_t contFlags, uint32_t discFlags);

struct DataMasks {
    uint32_t contFlags = 0;
    uint32_t discFlags = 0;
};

// Masks holding exactly the selected groups; the extended groups survive only with their base
// group (extended controls with flight controls, extended flaps with flaps, extended gear with gear).
DataMasks masksFromSelection(std::span<const uint32_t> selectedIds);
