// The sieve of Eratosthenes over one bit per number from 0 to 1000000: after
// sieveUpTo(bits, endNum), bit k (1 <= k <= endNum) is set exactly when k is
// prime. Bits above endNum are left as they were.
#pragma once

#include <bitset>

class Console;

// The largest end number, and the size of the bit set less one.
constexpr int kSieveLimit = 1000000;

using SieveBits = std::bitset<kSieveLimit + 1>;

// Every bit set but those of 0 and 1.
void resetSieve(SieveBits& numbers);
// Requires 1 <= endNum <= kSieveLimit and a freshly reset set.
void sieveUpTo(SieveBits& numbers, int endNum);
int countPrimes(const SieveBits& numbers, int endNum);
// The primes up to endNum, each followed by a tab, ten to a line.
void writePrimeListing(Console& console, const SieveBits& numbers, int endNum);
