// Counts heap allocations (every operator new) of the unit-test binary while a counter is alive, for tests
// that check that a steady-state frame or poll allocates nothing. The binary has one replacement of operator
// new, in allocation_counter.cpp; define no other.
#pragma once

class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    // Allocations since construction.
    int count() const;
    // False under the address sanitizer, whose allocator must see every new and delete and so stays in place;
    // tests then skip.
    static bool available();
};
