#include "modules/HostNumbers.h"

namespace HostNumbers {
namespace {

constexpr int kProperties = static_cast<int>(Property::Count);
constexpr int kRecords = static_cast<int>(Record::Count);
static_assert(kProperties == 7, "the numbering document's count");

constexpr uint32_t kPropertyBase = 0x200;

} // namespace

uint32_t entry(int versionIndex, int role) { return static_cast<uint32_t>(101 + 3 * role + 100 * versionIndex); }

uint32_t data(int versionIndex, int role) { return static_cast<uint32_t>(0x1000 * (versionIndex + 1) + 0x10 * role); }

uint32_t propertyId(int buildTag, Property property) {
    return kPropertyBase + static_cast<uint32_t>((static_cast<int>(property) + buildTag) % kProperties);
}

uint32_t variableId(int buildTag, Quantity quantity) {
    return detail::kVariableBase + static_cast<uint32_t>((static_cast<int>(quantity) + 7 * buildTag) % detail::kQuantities);
}

uint32_t unitId(int buildTag, Unit unit) {
    return detail::kUnitBase + static_cast<uint32_t>((static_cast<int>(unit) + 3 * buildTag) % detail::kUnits);
}

uint32_t recordNumber(int versionIndex, Record record) {
    return static_cast<uint32_t>(40 + 5 * versionIndex + static_cast<int>(record));
}

bool propertyOf(int buildTag, uint32_t id, Property& property) {
    int p = 0;
    if (!detail::unshift(id, kPropertyBase, kProperties, buildTag, p))
        return false;
    property = static_cast<Property>(p);
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
