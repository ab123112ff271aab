#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/Ticks.h"

// Blocks of a recording's data file that wait in memory for their turn on the disk, oldest first,
// each with the frame and the recording time it came in. Buffers of aircraft recorded together
// fill in the same frame; their blocks reach the disk spread over the next frames instead, an
// even share of what waits in each, and each within kSpreadFrames frames and kLongestWait of
// recording time of coming in.
class BlockQueue {
public:
    static constexpr uint32_t kSpreadFrames = 16;
    static constexpr uint32_t kLongestWait = kTicksPerSecond;

    // Room for this many more bytes waiting at once, taken now rather than in a frame.
    void reserve(std::size_t bytes);

    // A frame begins; `now` is the recording's clock.
    void tick(uint32_t now) {
        ++frame_;
        lastFrameTicks_ = now - now_;
        now_ = now;
    }
    // Appends a block, given in parts; `end` is the data file's offset just after it.
    struct Part {
        const void* data;
        uint32_t size;
    };
    void push(uint32_t end, const Part* parts, std::size_t count);

    bool empty() const { return head_ == blocks_.size(); }
    std::size_t size() const { return blocks_.size() - head_; }
    // How many blocks, oldest first, are due in this frame: an even share of all that wait over
    // the frames left to the oldest's bound (frames at the pace of the last one), rounded up to
    // whole blocks; all of them once it is due.
    std::size_t due(uint32_t diskPosition) const;
    // The bytes of the waiting blocks, from the oldest on, and where the first n of them end.
    const unsigned char* bytes() const { return bytes_.data() + byteHead_; }
    uint32_t endOf(std::size_t n) const { return blocks_[head_ + n - 1].end; }
    // The first n blocks are on the disk, from `diskPosition` on.
    void pop(std::size_t n, uint32_t diskPosition);

private:
    struct Waiting {
        uint32_t end;
        uint32_t frame;
        uint32_t time;
    };
    std::vector<unsigned char> bytes_;
    std::size_t byteHead_ = 0;
    std::vector<Waiting> blocks_;
    std::size_t head_ = 0;
    uint32_t frame_ = 0;
    uint32_t now_ = 0;
    uint32_t lastFrameTicks_ = 0;
    std::size_t expectedBytes_ = 0;
    std::size_t expectedBlocks_ = 0;
};
