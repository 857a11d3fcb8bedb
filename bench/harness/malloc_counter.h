// Counts the C heap allocations of the whole process (malloc, calloc, realloc and the aligned forms), from
// every library and thread: what a frame costs the GL driver. Linked into a benchmark, it replaces the C
// library's allocator entry points with counting ones that forward to it.
#pragma once

#include <cstdint>

namespace benchharness {

// Allocations since the program started; -1 where they cannot be counted (a sanitizer owns the allocator).
std::int64_t mallocCount();

}  // namespace benchharness
