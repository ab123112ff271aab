#include "common/DataBuffer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#include "common/ZephrelException.h"

namespace {

// Where each continuous group lives in the full record, by bit position.
constexpr std::array<uint32_t, ContGroup::Count> kContFieldOffsets = {
    offsetof(ContData, elevators), offsetof(ContData, throttle), offsetof(ContData, prop),
    offsetof(ContData, mix),       offsetof(ContData, spoilers), offsetof(ContData, IAS),
    offsetof(ContData, mainexit),  offsetof(ContData, tailhook), offsetof(ContData, wingfoldL),
    offsetof(ContData, windDir),   offsetof(ContData, mach),     offsetof(ContData, hour),
    offsetof(ContData, extControls), offsetof(ContData, extFlaps), offsetof(ContData, extGear),
};

constexpr std::array<uint32_t, DiscGroup::Count> kDiscFieldOffsets = {
    offsetof(DiscData, flaps),     offsetof(DiscData, gear),     offsetof(DiscData, lights),
    offsetof(DiscData, parkbrake), offsetof(DiscData, engines),  offsetof(DiscData, nav1),
    offsetof(DiscData, com),       offsetof(DiscData, smoke),    offsetof(DiscData, autopilot),
    offsetof(DiscData, concnose),  offsetof(DiscData, day),
};

constexpr uint32_t kEngineGroups = ContGroup::Throttles | ContGroup::Propellers | ContGroup::Mixtures;

[[noreturn]] void nullBuffer(const char* function, uint32_t line) {
    throw ZephrelException::stopping(ErrorCode::Unexpected, function, line, "Buffer pointer is NULL");
}

// One segment's move into a stored record. A continuous record's segments are mostly the 64-byte
// core and groups of eight, four and three bytes: moves of a size known here, where a call of
// memcpy would cost more than moving them (the import packs a record for every point). Any other
// size, and a discrete record's segments, go through memcpy.
template <class Full> void moveBytes(unsigned char* to, const unsigned char* from, uint32_t size) {
    if constexpr (std::is_same_v<Full, ContData>) {
        switch (size) {
        case kContFixedSize:
            std::memcpy(to, from, kContFixedSize);
            return;
        case 8:
            std::memcpy(to, from, 8);
            return;
        case 4:
            std::memcpy(to, from, 4);
            return;
        case 3:
            std::memcpy(to, from, 3);
            return;
        default:
            break;
        }
    }
    std::memcpy(to, from, size);
}

} // namespace

DataBuffer::DataBuffer(void* contBuffer, void* discBuffer, const DataFormat& format)
    : format_(format), contBuffer_(static_cast<unsigned char*>(contBuffer)),
      discBuffer_(static_cast<unsigned char*>(discBuffer)) {
    const uint32_t nEngines = format.nEngines;

    // Timestamp, position and velocities are one 64-byte block in both forms.
    cont_.segments[cont_.count++] = {0, 0, kContFixedSize};
    uint32_t position = kContFixedSize;
    for (int i = 0; i < ContGroup::Count; ++i) {
        uint32_t bit = 1u << i;
        if (!(format.ContFlags & bit))
            continue;
        uint32_t stored = contGroupSize(bit, nEngines);
        // Only four engine slots exist in the full record; more stored engines keep their stride.
        uint32_t copied = (bit & kEngineGroups) ? 2 * std::min<uint32_t>(nEngines, kMaxEngines) : stored;
        cont_.groupOffsets[static_cast<std::size_t>(i)] = position;
        if (copied > 0)
            append(cont_, {position, kContFieldOffsets[static_cast<std::size_t>(i)], copied});
        position += stored;
    }
    format_.contRecordSize = format.contRecordSize != 0 ? format.contRecordSize : position;

    disc_.segments[disc_.count++] = {0, 0, kDiscFixedSize};
    position = kDiscFixedSize;
    for (int i = 0; i < DiscGroup::Count; ++i) {
        uint32_t bit = 1u << i;
        if (!(format.DiscFlags & bit))
            continue;
        uint32_t size = discGroupSize(bit);
        disc_.groupOffsets[static_cast<std::size_t>(i)] = position;
        append(disc_, {position, kDiscFieldOffsets[static_cast<std::size_t>(i)], size});
        position += size;
    }
    format_.discRecordSize = format.discRecordSize != 0 ? format.discRecordSize : position;
}

// Groups that follow each other in both forms become one move: with every group present the
// whole record is a single copy.
template <std::size_t N> void DataBuffer::append(Layout<N>& layout, Segment segment) {
    Segment& last = layout.segments[layout.count - 1];
    if (last.stored + last.size == segment.stored && last.full + last.size == segment.full)
        last.size += segment.size;
    else
        layout.segments[layout.count++] = segment;
}

void DataBuffer::copyIn(const Segment* segments, uint32_t count, const unsigned char* stored, void* full) {
    auto* out = static_cast<unsigned char*>(full);
    for (uint32_t i = 0; i < count; ++i)
        std::memcpy(out + segments[i].full, stored + segments[i].stored, segments[i].size);
}

template <class Full>
void DataBuffer::copyOut(const Segment* segments, uint32_t count, const Full& full, unsigned char* stored) {
    const auto* in = reinterpret_cast<const unsigned char*>(&full);
    for (uint32_t i = 0; i < count; ++i)
        moveBytes<Full>(stored + segments[i].stored, in + segments[i].full, segments[i].size);
}

void DataBuffer::getContData(uint32_t index, ContData& out) const {
    if (contBuffer_ == nullptr)
        nullBuffer("DataBuffer::getContData", __LINE__);
    copyIn(cont_.segments.data(), cont_.count, contBuffer_ + std::size_t{index} * format_.contRecordSize, &out);
}

void DataBuffer::getContCore(uint32_t index, ContData& out) const {
    if (contBuffer_ == nullptr)
        nullBuffer("DataBuffer::getContCore", __LINE__);
    std::memcpy(&out, contBuffer_ + std::size_t{index} * format_.contRecordSize, kContFixedSize);
}

void DataBuffer::setContData(uint32_t index, const ContData& in) {
    if (contBuffer_ == nullptr)
        nullBuffer("DataBuffer::setContData", __LINE__);
    copyOut(cont_.segments.data(), cont_.count, in, contBuffer_ + std::size_t{index} * format_.contRecordSize);
}

void DataBuffer::getDiscData(uint32_t index, DiscData& out) const {
    if (discBuffer_ == nullptr)
        nullBuffer("DataBuffer::getDiscData", __LINE__);
    copyIn(disc_.segments.data(), disc_.count, discBuffer_ + std::size_t{index} * format_.discRecordSize, &out);
}

void DataBuffer::setDiscData(uint32_t index, const DiscData& in) {
    if (discBuffer_ == nullptr)
        nullBuffer("DataBuffer::setDiscData", __LINE__);
    copyOut(disc_.segments.data(), disc_.count, in, discBuffer_ + std::size_t{index} * format_.discRecordSize);
}

uint32_t DataBuffer::getContTimestamp(uint32_t index) const {
    if (contBuffer_ == nullptr)
        nullBuffer("DataBuffer::getContTimestamp", __LINE__);
    uint32_t timestamp;
    std::memcpy(&timestamp, contBuffer_ + std::size_t{index} * format_.contRecordSize, sizeof timestamp);
    return timestamp;
}

uint32_t DataBuffer::getDiscTimestamp(uint32_t index) const {
    if (discBuffer_ == nullptr)
        nullBuffer("DataBuffer::getDiscTimestamp", __LINE__);
    uint32_t timestamp;
    std::memcpy(&timestamp, discBuffer_ + std::size_t{index} * format_.discRecordSize, sizeof timestamp);
    return timestamp;
}

uint32_t DataBuffer::contOffset(uint32_t bit) const {
    if (!std::has_single_bit(bit) || bit > ContGroup::ExtendedGear)
        return 0;
    return cont_.groupOffsets[static_cast<std::size_t>(std::countr_zero(bit))];
}

uint32_t DataBuffer::discOffset(uint32_t bit) const {
    if (!std::has_single_bit(bit) || bit > DiscGroup::Date)
        return 0;
    return disc_.groupOffsets[static_cast<std::size_t>(std::countr_zero(bit))];
}
