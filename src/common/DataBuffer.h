#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/FlightData.h"

// A view over caller-owned arrays of stored records of one track. It is the one place that knows
// how the present groups are packed: the offsets are worked out once, and each copy is a short,
// fixed list of block moves.
class DataBuffer {
public:
    DataBuffer(void* contBuffer, void* discBuffer, const DataFormat& format);

    // Lays the view over other arrays of the same format.
    void setBuffers(void* contBuffer, void* discBuffer) {
        contBuffer_ = static_cast<unsigned char*>(contBuffer);
        discBuffer_ = static_cast<unsigned char*>(discBuffer);
    }

    void getContData(uint32_t index, ContData& out) const;
    // Only the fields every record has, timestamp to velocities, one block move: for readers that
    // want the path and nothing else; the other fields of `out` are left as they are.
    void getContCore(uint32_t index, ContData& out) const;
    void setContData(uint32_t index, const ContData& in);
    void getDiscData(uint32_t index, DiscData& out) const;
    void setDiscData(uint32_t index, const DiscData& in);
    uint32_t getContTimestamp(uint32_t index) const;
    uint32_t getDiscTimestamp(uint32_t index) const;

    // nEngines and flags as given, record sizes as actually used.
    const DataFormat& format() const { return format_; }

    // Byte offset of a group (one flag bit) within a stored record; 0 if the group is absent.
    uint32_t contOffset(uint32_t bit) const;
    uint32_t discOffset(uint32_t bit) const;

private:
    // One block move between a stored record and the full record.
    struct Segment {
        uint32_t stored;
        uint32_t full;
        uint32_t size;
    };
    template <std::size_t N> struct Layout {
        std::array<Segment, N> segments{};
        uint32_t count = 0;
        std::array<uint32_t, N> groupOffsets{};
    };

    template <std::size_t N> static void append(Layout<N>& layout, Segment segment);
    static void copyIn(const Segment* segments, uint32_t count, const unsigned char* stored, void* full);
    template <class Full>
    static void copyOut(const Segment* segments, uint32_t count, const Full& full, unsigned char* stored);

    DataFormat format_;
    unsigned char* contBuffer_;
    unsigned char* discBuffer_;
    Layout<ContGroup::Count + 1> cont_;
    Layout<DiscGroup::Count + 1> disc_;
};
