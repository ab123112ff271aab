#include "modules/HostNumbers.h"

#include <array>

namespace HostNumbers {
namespace {

constexpr int kProperties = static_cast<int>(Property::Count);
constexpr int kQuantities = static_cast<int>(Quantity::Count);
constexpr int kUnits = static_cast<int>(Unit::Count);
constexpr int kRecords = static_cast<int>(Record::Count);
static_assert(kProperties == 6 && kQuantities == 46 && kUnits == 12, "the numbering document's counts");

constexpr uint32_t kPropertyBase = 0x200;
constexpr uint32_t kVariableBase = 0x400;
constexpr uint32_t kUnitBase = 0x80;

// The position of `id - base` in a permutation of `count` that is shifted by `shift`.
bool unshift(uint32_t id, uint32_t base, int count, int shift, int& position) {
    if (id < base || id >= base + static_cast<uint32_t>(count))
        return false;
    position = ((static_cast<int>(id - base) - shift) % count + count) % count;
    return true;
}

using U = Unit;
constexpr std::array<QuantityInfo, kQuantities> kInfo = {{
    {U::Position, 0, false}, {U::Position, 0, false}, {U::Position, 0, false}, // controls
    {U::Position, 4, false}, {U::Position, 4, false}, {U::Position, 4, false}, // levers
    {U::Position, 0, false},                                                  // spoilers
    {U::Knots, 0, false},    {U::Knots, 0, false},                            // airspeeds
    {U::Ratio, 0, false},    {U::Ratio, 0, false},    {U::Ratio, 0, false},    {U::Ratio, 0, false},
    {U::Degrees, 0, false},  {U::Knots, 0, false},    {U::Mach, 0, false}, // wind, Mach
    {U::Position, 2, false}, {U::Position, 2, false}, {U::Position, 2, false}, {U::Position, 2, false},
    {U::Ratio, 5, false},                                             // gear legs
    {U::Number, 0, false},   {U::Position, 0, false}, {U::Mask, 0, false},  {U::Number, 0, false},
    {U::Bool, 4, false},                                              // engines
    {U::Bcd16, 2, false},    {U::Degrees, 2, false},  {U::Bcd16, 1, false}, {U::Number, 1, false},
    {U::Bcd16, 2, false},    {U::Bcd16, 0, false},                    // COM, transponder
    {U::Bool, 0, false},     {U::Bool, 0, false},     {U::Percent, 0, false}, {U::Bool, 0, false},
    {U::Feet, 0, true},      {U::Metres, 0, true},    {U::Degrees, 0, true}, {U::Number, 0, true},
    {U::Number, 0, true},    {U::Bool, 0, true},      {U::Bool, 0, true},    {U::Bool, 0, true},
    {U::Bool, 0, true},      {U::Feet, 0, true},
}};

} // namespace

uint32_t entry(int versionIndex, int role) { return static_cast<uint32_t>(101 + 3 * role + 100 * versionIndex); }

uint32_t data(int versionIndex, int role) { return static_cast<uint32_t>(0x1000 * (versionIndex + 1) + 0x10 * role); }

QuantityInfo info(Quantity quantity) { return kInfo[static_cast<std::size_t>(quantity)]; }

uint32_t propertyId(int buildTag, Property property) {
    return kPropertyBase + static_cast<uint32_t>((static_cast<int>(property) + buildTag) % kProperties);
}

uint32_t variableId(int buildTag, Quantity quantity) {
    return kVariableBase + static_cast<uint32_t>((static_cast<int>(quantity) + 7 * buildTag) % kQuantities);
}

uint32_t unitId(int buildTag, Unit unit) {
    return kUnitBase + static_cast<uint32_t>((static_cast<int>(unit) + 3 * buildTag) % kUnits);
}

uint32_t recordNumber(int versionIndex, Record record) {
    return static_cast<uint32_t>(40 + 5 * versionIndex + static_cast<int>(record));
}

bool propertyOf(int buildTag, uint32_t id, Property& property) {
    int p = 0;
    if (!unshift(id, kPropertyBase, kProperties, buildTag, p))
        return false;
    property = static_cast<Property>(p);
    return true;
}

bool quantityOf(int buildTag, uint32_t id, Quantity& quantity) {
    int q = 0;
    if (!unshift(id, kVariableBase, kQuantities, 7 * buildTag, q))
        return false;
    quantity = static_cast<Quantity>(q);
    return true;
}

bool unitOf(int buildTag, uint32_t id, Unit& unit) {
    int u = 0;
    if (!unshift(id, kUnitBase, kUnits, 3 * buildTag, u))
        return false;
    unit = static_cast<Unit>(u);
    return true;
}

bool recordOf(int versionIndex, uint32_t number, Record& record) {
    const uint32_t first = recordNumber(versionIndex, Record::Controls);
    if (number < first || number >= first + static_cast<uint32_t>(kRecords))
        return false;
    record = static_cast<Record>(number - first);
    return true;
}

} // namespace HostNumbers
