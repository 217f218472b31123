// The sieve of Eratosthenes over one bit per number from 0 to 1000000: after
// sieveUpTo(numbers, endNum), bit k (1 <= k <= endNum) is set exactly when k
// is prime. Bits above endNum are left as they were.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "demos/bit_ops.h"

namespace quorvantile {

class Console;

// The largest end number, and the highest bit of the set.
constexpr int kSieveLimit = 1000000;

// The bits packed 64 to a word (about 122 KiB), so that the first passes and
// the count work on whole words.
struct SieveBits {
  std::array<std::uint64_t, kSieveLimit / kWordBits + 1> words;

  bool operator[](int k) const { return (words[index(k)] >> (k % kWordBits)) & 1; }
  void clear(int k) { words[index(k)] &= ~(std::uint64_t{1} << (k % kWordBits)); }
  static std::size_t index(int k) { return static_cast<unsigned>(k) / kWordBits; }
};

// Every bit set but those of 0 and 1.
void resetSieve(SieveBits& numbers);
// Requires 1 <= endNum <= kSieveLimit and a freshly reset set.
void sieveUpTo(SieveBits& numbers, int endNum);
// A new set, reset and sieved up to endNum; on the heap, being 122 KiB.
std::unique_ptr<SieveBits> sievedUpTo(int endNum);
int countPrimes(const SieveBits& numbers, int endNum);
// The primes up to endNum, each followed by a tab, ten to a line.
void writePrimeListing(Console& console, const SieveBits& numbers, int endNum);

}  // namespace quorvantile
