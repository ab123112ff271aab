#include "host/FrameClock.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr double kMaxFrameTime = 10;
} // namespace

// The cached entry is tried first; the table is searched from the start only when its name differs.
const ZHostSimGroup* FrameClock::group(const ZHostSimGroupTable& table, const char* name) {
    auto named = [&](uint32_t i) {
        const char* entryName = table.groups[i].name;
        return entryName != nullptr && std::strcmp(entryName, name) == 0;
    };
    if (table.groups == nullptr)
        return nullptr;
    if (static_cast<uint32_t>(cachedIndex_) < table.count && named(static_cast<uint32_t>(cachedIndex_)))
        return &table.groups[cachedIndex_];
    for (uint32_t i = 0; i < table.count; ++i)
        if (named(i)) {
            cachedIndex_ = static_cast<int>(i);
            return &table.groups[i];
        }
    return nullptr;
}

void FrameClock::measure(const ZHostSimGroupTable* table, bool olderHost, bool helicopter, bool paused) {
    if (table == nullptr)
        return;
    const char* name = olderHost ? "SimGroupUser" : helicopter ? "HeloMainSimGroup" : "AirplaneMainSimGroupUser";
    const ZHostSimGroup* found = group(*table, name);
    if (found == nullptr)
        return;
    double clock = 0;
    // Byte 20 or 28 of the 36-byte entry, behind the 8-byte name.
    std::memcpy(&clock, found->fields + (olderHost ? 12 : 20), sizeof clock);
    if (seen_ && !paused) {
        const double divisor = std::min(table->rateWords[0], table->rateWords[1]);
        const double time = divisor > 0 ? (clock - lastClock_) * 256 / divisor : 0;
        frameTime_ = std::clamp(time, 0.0, kMaxFrameTime);
    }
    seen_ = true;
    lastClock_ = clock;
}
