#include "support/FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace {

long countdown = -1;  // allocations still to succeed; -1: not counting
bool failed = false;

void* Allocate(std::size_t size, bool mayThrow) {
  if (countdown >= 0 && countdown-- == 0) {
    failed = true;
    if (!mayThrow) return nullptr;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  if (!mayThrow) return nullptr;
  throw std::bad_alloc();
}

}  // namespace

namespace pravel::test {

void FailAllocation(long n) {
  countdown = n;
  failed = false;
}

bool StopFailingAllocations() {
  countdown = -1;
  return failed;
}

}  // namespace pravel::test

// Every form the program may call, so that memory always goes back the way
// it came (the sanitizers check that).
void* operator new(std::size_t size) { return Allocate(size, true); }
void* operator new[](std::size_t size) { return Allocate(size, true); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, false); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, false); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
