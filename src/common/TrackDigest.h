#pragma once

#include <cstddef>
#include <cstdint>

// The keyed digest that marks a track as recorded by this program: MD5 whose full input blocks are
// XORed with an 8-byte key before compression, folded to 64 bits. Files depend on the key: it
// never changes.
class TrackDigest {
public:
    TrackDigest() { reset(); }

    void reset();
    void update(const void* data, std::size_t size);
    // The 64-bit value stored in the track header. The digest must be reset before it is reused.
    uint64_t finish();

private:
    uint32_t state_[4];
    uint64_t length_;
    unsigned char buffer_[64];
    std::size_t buffered_;
};
