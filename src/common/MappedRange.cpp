#include "common/MappedRange.h"

#include <sys/mman.h>
#include <unistd.h>

#include <mutex>

namespace {

// The ranges mapped on this thread, which a bus error of the thread may have come from.
thread_local MappedRange* mappedRanges = nullptr;
struct sigaction previousHandler {};
std::size_t pageSize = 4096;

void onBusError(int signal, siginfo_t* info, void* context) {
    if (MappedRange::fillCut(info->si_addr))
        return; // the read is done again, of zeros now
    // Not ours: what was there before us, or the default, which ends the process.
    if ((previousHandler.sa_flags & SA_SIGINFO) != 0 && previousHandler.sa_sigaction != nullptr) {
        previousHandler.sa_sigaction(signal, info, context);
    } else if (previousHandler.sa_handler != SIG_DFL && previousHandler.sa_handler != SIG_IGN) {
        previousHandler.sa_handler(signal);
    } else {
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigaction(SIGBUS, &fallback, nullptr);
    }
}

void installHandler() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        struct sigaction handler {};
        handler.sa_sigaction = onBusError;
        handler.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&handler.sa_mask);
        sigaction(SIGBUS, &handler, &previousHandler);
    });
}

} // namespace

const unsigned char* MappedRange::map(int fd, uint64_t offset, std::size_t size) {
    unmap();
    installHandler();
    // Mappings begin at a page; the bytes before the range are mapped too and skipped. The range
    // is read through, so its pages are all mapped at once rather than a fault at a time.
    const auto page = static_cast<uint64_t>(pageSize);
    const uint64_t skip = offset % page;
    const std::size_t length = static_cast<std::size_t>(skip) + size;
    void* const base =
        mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, static_cast<off_t>(offset - skip));
    if (base == MAP_FAILED)
        return nullptr;
    madvise(base, length, MADV_SEQUENTIAL);
    base_ = base;
    length_ = length;
    cut_ = 0;
    next_ = mappedRanges;
    mappedRanges = this;
    return static_cast<const unsigned char*>(base) + skip;
}

void MappedRange::unmap() {
    if (base_ == nullptr)
        return;
    for (MappedRange** link = &mappedRanges; *link != nullptr; link = &(*link)->next_)
        if (*link == this) {
            *link = next_;
            break;
        }
    munmap(base_, length_);
    base_ = nullptr;
    length_ = 0;
    next_ = nullptr;
}

bool MappedRange::fillCut(const void* address) {
    const auto at = reinterpret_cast<uintptr_t>(address);
    for (MappedRange* range = mappedRanges; range != nullptr; range = range->next_) {
        const auto begin = reinterpret_cast<uintptr_t>(range->base_);
        if (at < begin || at >= begin + range->length_)
            continue;
        const uintptr_t from = at - at % pageSize;
        if (mmap(reinterpret_cast<void*>(from), begin + range->length_ - from, PROT_READ,
                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED)
            return false;
        range->cut_ = 1;
        return true;
    }
    return false;
}
