#include "services/SimGroups.h"

#include <algorithm>
#include <cstring>

#include "text/AsciiCase.h"

namespace {

constexpr uint32_t kUnitRate = 256;
constexpr uint32_t kSecondRate = 1024;
static_assert(sizeof(ZHostSimGroup) == 36, "the host's group table entries are 36 bytes");

std::vector<const char*> groupNames(bool olderHost, bool helicopter) {
    if (olderHost)
        return {"SimGroupGlobal", "SimGroupWeather", "SimGroupUser", "SimGroupAI", "SimGroupTraffic"};
    if (helicopter)
        return {"GlobalSimGroup", "WeatherSimGroup", "AirplaneMainSimGroupAI", "HeloMainSimGroup",
                "TrafficSimGroup"};
    return {"GlobalSimGroup", "WeatherSimGroup", "AirplaneMainSimGroupUser", "AirplaneMainSimGroupAI",
            "TrafficSimGroup"};
}

} // namespace

SimGroups::SimGroups(bool olderHost) : olderHost_(olderHost) {
    table_.rateWords[0] = kUnitRate;
    table_.rateWords[1] = kSecondRate;
    build();
}

void SimGroups::setUserCategory(const std::string& category) {
    const bool helicopter = equalsIgnoringCase(category, "Helicopter");
    if (helicopter == helicopter_)
        return;
    helicopter_ = helicopter;
    build();
}

void SimGroups::advance(double seconds) {
    const uint32_t divisor = std::min(table_.rateWords[0], table_.rateWords[1]);
    clock_ += seconds * divisor / kUnitRate;
    writeClock();
}

void SimGroups::build() {
    groups_.clear();
    for (const char* name : groupNames(olderHost_, helicopter_)) {
        ZHostSimGroup group{};
        group.name = name;
        groups_.push_back(group);
    }
    table_.groups = groups_.data();
    table_.count = static_cast<uint32_t>(groups_.size());
    writeClock();
}

// Byte 20 or 28 of the entry, behind the 8-byte name.
void SimGroups::writeClock() {
    const std::size_t offset = olderHost_ ? 12 : 20;
    for (ZHostSimGroup& group : groups_)
        std::memcpy(group.fields + offset, &clock_, sizeof clock_);
}
