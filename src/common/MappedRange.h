#pragma once

#include <cstddef>
#include <cstdint>

// A range of an open file mapped read-only into memory, so that a reader going through a large
// file sees its bytes where the system keeps them instead of copies. One range at a time: mapping
// another, or this going, unmaps the last. The file must not shrink while a range of it is mapped.
class MappedRange {
public:
    MappedRange() = default;
    ~MappedRange() { unmap(); }
    MappedRange(const MappedRange&) = delete;
    MappedRange& operator=(const MappedRange&) = delete;

    // `size` bytes (at least one) from `offset` of the file `fd`, read in order; nullptr where the
    // system refuses them.
    const unsigned char* map(int fd, uint64_t offset, std::size_t size);
    void unmap();

private:
    void* base_ = nullptr;
    std::size_t length_ = 0;
};
