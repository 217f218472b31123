// The bit tricks of the sieves, on 64-bit words: the position of the lowest
// set bit, the count of set bits, and a hint to fetch memory ahead of its
// use. Each takes the compiler's instruction where it has one, so that the
// same code builds with GCC, Clang, MinGW, Emscripten and MSVC.
#pragma once

#include <cstdint>

#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif

namespace quorvantile {

// The sieves' words: 64 bits each.
constexpr int kWordBits = 64;

// The position of the lowest set bit; `word` must not be 0.
inline int countTrailingZeros(std::uint64_t word) {
#if defined(_MSC_VER) && !defined(__clang__)
  unsigned long index;
  _BitScanForward64(&index, word);
  return static_cast<int>(index);
#else
  return __builtin_ctzll(word);
#endif
}

// The number of set bits. The compiler's builtin is one instruction only
// where the target surely has one (x86 with POPCNT, WebAssembly); elsewhere
// it becomes a library call per word, slower than these few operations.
inline int popcount(std::uint64_t word) {
#if defined(__POPCNT__) || defined(__wasm__)
  return __builtin_popcountll(word);
#else
  word -= (word >> 1) & 0x5555555555555555ull;
  word = (word & 0x3333333333333333ull) + ((word >> 2) & 0x3333333333333333ull);
  word = (word + (word >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((word * 0x0101010101010101ull) >> 56);
#endif
}

// Asks for the cache line at `address` to be read in ahead of its use. A
// hint only: where the compiler has no builtin for it, nothing is done.
inline void prefetchRead(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(address, 0, 3);
#else
  (void)address;
#endif
}

}  // namespace quorvantile
