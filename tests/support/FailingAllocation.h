// Makes one chosen allocation of the program fail, as when memory runs out
// at that very point. Linking FailingAllocation.cpp replaces the program's
// operator new.
#pragma once

namespace pravel::test {

// From now on, allocation number n (counted from 0) throws std::bad_alloc;
// every other succeeds. -1 stops the counting.
void FailAllocation(long n);
// Whether the chosen allocation has failed since FailAllocation.
bool AllocationFailed();

}  // namespace pravel::test
