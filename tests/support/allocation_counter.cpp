#include "support/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int> g_counters{0};
std::atomic<int> g_allocations{0};

}  // namespace

#if !defined(__SANITIZE_ADDRESS__)
void* operator new(std::size_t size) {
    if (g_counters.load(std::memory_order_relaxed) > 0) g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

bool AllocationCounter::available() {
    return true;
}
#else
bool AllocationCounter::available() {
    return false;
}
#endif

AllocationCounter::AllocationCounter() {
    g_allocations = 0;
    ++g_counters;
}

AllocationCounter::~AllocationCounter() {
    --g_counters;
}

int AllocationCounter::count() const {
    return g_allocations.load();
}
