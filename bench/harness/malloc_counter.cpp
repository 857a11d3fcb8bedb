#include "harness/malloc_counter.h"

#include <atomic>
#include <cerrno>
#include <cstddef>

#ifndef __SANITIZE_ADDRESS__

// glibc's own allocator, under the names it keeps for programs that wrap it.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* memory, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* memory);
}

namespace {

std::atomic<std::int64_t> g_allocations{0};

void count() {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

extern "C" {

void* malloc(std::size_t size) {
    count();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) {
    ::count();
    return __libc_calloc(count, size);
}

void* realloc(void* memory, std::size_t size) {
    count();
    return __libc_realloc(memory, size);
}

void* memalign(std::size_t alignment, std::size_t size) {
    count();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
    count();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** memory, std::size_t alignment, std::size_t size) {
    count();
    void* block = __libc_memalign(alignment, size);
    if (!block) return ENOMEM;
    *memory = block;
    return 0;
}

void free(void* memory) {
    __libc_free(memory);
}

}  // extern "C"

std::int64_t benchharness::mallocCount() {
    return g_allocations.load(std::memory_order_relaxed);
}

#else

std::int64_t benchharness::mallocCount() {
    return -1;
}

#endif
