// Looking at a text eight bytes at a time: the scans for line breaks and
// for a key's first byte take the lowest set bit for the first byte.
#pragma once

#include <bit>
#include <cstdint>

namespace pravel {

static_assert(std::endian::native == std::endian::little);

// High bit set in exactly the bytes of x that are zero.
inline std::uint64_t ZeroBytes(std::uint64_t x) {
  constexpr std::uint64_t k7F = 0x7F7F7F7F7F7F7F7Full;
  return ~(((x & k7F) + k7F) | x | k7F);
}

// The byte repeated in all eight places.
constexpr std::uint64_t Repeated(unsigned char byte) { return 0x0101010101010101ull * byte; }

}  // namespace pravel
