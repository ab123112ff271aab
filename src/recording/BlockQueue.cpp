#include "recording/BlockQueue.h"

#include <algorithm>

void BlockQueue::reserve(std::size_t bytes) {
    expectedBytes_ += bytes;
    ++expectedBlocks_;
    if (blocks_.capacity() < expectedBlocks_)
        blocks_.reserve(std::max(expectedBlocks_, 2 * blocks_.capacity()));
    if (bytes_.capacity() >= expectedBytes_)
        return;
    const std::size_t size = bytes_.size();
    bytes_.reserve(std::max(expectedBytes_, 2 * bytes_.capacity()));
    // Every page is touched now, when a track is added, rather than in the frame that fills it.
    bytes_.resize(bytes_.capacity());
    bytes_.resize(size);
}

void BlockQueue::push(uint32_t end, const Part* parts, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const auto* data = static_cast<const unsigned char*>(parts[i].data);
        bytes_.insert(bytes_.end(), data, data + parts[i].size);
    }
    blocks_.push_back({end, frame_, now_});
}

std::size_t BlockQueue::due(uint32_t diskPosition) const {
    if (empty())
        return 0;
    const Waiting& oldest = blocks_[head_];
    const uint32_t waited = frame_ - oldest.frame;
    const uint32_t waitedTicks = now_ - oldest.time;
    if (waited >= kSpreadFrames || waitedTicks >= kLongestWait)
        return size();
    uint64_t framesLeft = kSpreadFrames - waited;
    if (lastFrameTicks_ != 0)
        framesLeft = std::min<uint64_t>(framesLeft, (kLongestWait - waitedTicks) / lastFrameTicks_);
    if (framesLeft == 0)
        return size();
    const uint64_t waiting = blocks_.back().end - diskPosition;
    const uint64_t share = (waiting + framesLeft - 1) / framesLeft;
    std::size_t n = 1;
    while (n < size() && blocks_[head_ + n - 1].end - diskPosition < share)
        ++n;
    return n;
}

void BlockQueue::pop(std::size_t n, uint32_t diskPosition) {
    head_ += n;
    if (empty()) {
        bytes_.clear();
        blocks_.clear();
        byteHead_ = head_ = 0;
        return;
    }
    byteHead_ = bytes_.size() - (blocks_.back().end - diskPosition);
    // What was written goes once the rest is small beside it, so that moving the rest stays cheap;
    // usually all of it is written first, and nothing moves.
    if (byteHead_ > 8 * (bytes_.size() - byteHead_)) {
        bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(byteHead_));
        blocks_.erase(blocks_.begin(), blocks_.begin() + static_cast<std::ptrdiff_t>(head_));
        byteHead_ = head_ = 0;
    }
}
