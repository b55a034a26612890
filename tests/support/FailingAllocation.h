// Makes one chosen allocation of the program fail, as when memory runs out
// at that very point. Linking FailingAllocation.cpp replaces the program's
// operator new.
#pragma once

namespace pravel::test {

// From now on, allocation number n (counted from 0) throws std::bad_alloc;
// every other succeeds.
void FailAllocation(long n);
// Stops counting; whether the chosen allocation was reached (and failed).
bool StopFailingAllocations();

}  // namespace pravel::test
