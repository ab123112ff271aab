#include "common/MappedRange.h"

#include <sys/mman.h>
#include <unistd.h>

const unsigned char* MappedRange::map(int fd, uint64_t offset, std::size_t size) {
    unmap();
    // Mappings begin at a page; the bytes before the range are mapped too and skipped.
    const auto page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    const uint64_t skip = offset % page;
    const std::size_t length = static_cast<std::size_t>(skip) + size;
    void* const base = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, static_cast<off_t>(offset - skip));
    if (base == MAP_FAILED)
        return nullptr;
    madvise(base, length, MADV_SEQUENTIAL);
    base_ = base;
    length_ = length;
    return static_cast<const unsigned char*>(base) + skip;
}

void MappedRange::unmap() {
    if (base_ != nullptr)
        munmap(base_, length_);
    base_ = nullptr;
    length_ = 0;
}
