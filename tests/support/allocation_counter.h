// Counts heap allocations made through operator new in the test process, so a test can check that a
// steady-state frame, or the sound device's mixing thread, allocates nothing.
#pragma once

#include <cstddef>

namespace testsupport {

// Allocations since the process started, by every thread.
std::size_t allocationCount();
// Allocations since the process started, by the calling thread.
std::size_t threadAllocationCount();

// Allocations made while running `body`.
template <typename Body>
std::size_t allocationsDuring(Body&& body) {
    const std::size_t before = allocationCount();
    body();
    return allocationCount() - before;
}

}  // namespace testsupport
