// Counts heap allocations made through operator new in the test process, so a test can check that a
// steady-state frame allocates nothing.
#pragma once

#include <cstddef>

namespace testsupport {

// Allocations since the process started.
std::size_t allocationCount();

// Allocations made while running `body`.
template <typename Body>
std::size_t allocationsDuring(Body&& body) {
    const std::size_t before = allocationCount();
    body();
    return allocationCount() - before;
}

}  // namespace testsupport
