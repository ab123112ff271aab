#pragma once

#include <csignal>
#include <cstddef>
#include <cstdint>

// A range of an open file mapped read-only into memory, so that a reader going through a large
// file sees its bytes where the system keeps them instead of copies. One range at a time: mapping
// another, or this going, unmaps the last. A file cut short by another program while a range of
// it is mapped would kill the process when the bytes gone are read; here they read as zeros, and
// cut() says so until a range is mapped again: the reader must ask before it trusts what it read.
// Only reads on the thread that mapped the range are covered.
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
    bool cut() const { return cut_ != 0; }

    // For the bus error handler: zeros over the part of a mapped range from `address` on, where
    // it lies in one of this thread's ranges; false where it lies in none.
    static bool fillCut(const void* address);

private:
    void* base_ = nullptr;
    std::size_t length_ = 0;
    volatile std::sig_atomic_t cut_ = 0;
    MappedRange* next_ = nullptr; // this thread's mapped ranges
};
