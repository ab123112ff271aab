#include "bench/CountingNew.h"

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include <benchmark/benchmark.h>

namespace {

std::atomic<uint64_t> calls{0};

void* allocate(std::size_t size) {
    calls.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    calls.fetch_add(1, std::memory_order_relaxed);
    const auto a = static_cast<std::size_t>(alignment);
    // aligned_alloc wants a multiple of the alignment.
    const std::size_t rounded = (size + a - 1) / a * a;
    if (void* p = std::aligned_alloc(a, rounded == 0 ? a : rounded))
        return p;
    throw std::bad_alloc();
}

} // namespace

namespace zbench {

uint64_t newCalls() {
    return calls.load(std::memory_order_relaxed);
}

bool countingNewInUse() {
    const uint64_t before = newCalls();
    auto probe = std::make_unique<int>(1);
    benchmark::DoNotOptimize(probe.get());
    return newCalls() != before;
}

} // namespace zbench

// The replaceable allocation functions; the nothrow forms end up in these. Out of line, because
// inlined into the standard containers these let GCC see malloc() or free() meet a pointer it
// expects from operator new or delete, which it reports.
[[gnu::noinline]] void* operator new(std::size_t size) {
    return allocate(size);
}
[[gnu::noinline]] void* operator new[](std::size_t size) {
    return allocate(size);
}
[[gnu::noinline]] void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
[[gnu::noinline]] void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete[](void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
