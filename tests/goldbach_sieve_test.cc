// The Goldbach sieve cut into tiny windows and pieces, so that with small n
// every striking path meets the ends of windows, of pieces and of patterns
// many times over: the pairs must not depend on where those ends fall.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "demos/goldbach_pairs.h"

namespace {

using Pairs = std::vector<std::pair<int, int>>;

constexpr int kLargestN = 30000;

// The primes up to kLargestN, and whether each number there is one, by a
// plain sieve.
struct PrimeTable {
  std::vector<char> isPrime = std::vector<char>(kLargestN + 1, 1);
  std::vector<int> primes;
  PrimeTable() {
    isPrime[0] = isPrime[1] = 0;
    for (int i = 2; i <= kLargestN; ++i) {
      if (!isPrime[i]) continue;
      primes.push_back(i);
      for (int j = i * i; j <= kLargestN; j += i) isPrime[j] = 0;  // i * i < 2^31
    }
  }
};

Pairs expected(const PrimeTable& table, int n, int from, int to) {
  Pairs pairs;
  for (int p : table.primes) {
    if (p > to || p > n / 2) break;
    if (p >= from && table.isPrime[n - p]) pairs.emplace_back(p, n - p);
  }
  return pairs;
}

Pairs sieved(int n, int from, int to, const GoldbachSieveShape& shape) {
  Pairs pairs;
  forEachGoldbachPair(n, from, to, shape, [&](int p, int q) {
    pairs.emplace_back(p, q);
    return true;
  });
  return pairs;
}

// Below 30000 a class's step is at most 173 * 48 bits, and the low half
// holds at most 15000 / 210 * 48 bits: windows of 64 to 448 bits are crossed
// dozens of times, and most periods of the sparse classes outgrow them.
struct NamedShape {
  const char* what;
  GoldbachSieveShape shape;
};
constexpr NamedShape kShapes[] = {
    {"every class through cursors, one word per window", {64, 64, 0, 13}},
    {"every class residue by residue, two pieces per window", {128, 64, UINT32_MAX, 13}},
    {"the small classes dense, the rest through cursors", {192, 64, 600, 13}},
    {"patterns up to 31 over windows shorter than their periods", {320, 128, 1200, 31}},
    {"all patterns, pieces that do not divide the window", {448, 192, 3000, 199}},
};

// Every shape for each n, against the plain sieve: the even numbers up to
// 4000, and the last 3000 up to kLargestN whole and in a range whose start
// moves the window edges.
TEST(GoldbachSieveShapes, TinyWindowsGiveThePairsOfAPlainSieve) {
  const PrimeTable table;
  std::vector<int> numbers;
  for (int n = 4; n <= 4000; n += 2) numbers.push_back(n);
  for (int n = kLargestN - 3000; n <= kLargestN; n += 2) numbers.push_back(n);
  for (int n : numbers) {
    const Pairs whole = expected(table, n, 2, n / 2);
    const int from = n / 7, to = n / 3;
    const Pairs part = expected(table, n, from, to);
    for (const NamedShape& named : kShapes) {
      ASSERT_EQ(sieved(n, 2, n / 2, named.shape), whole) << named.what << ", " << n;
      if (n < 4000) continue;
      ASSERT_EQ(sieved(n, from, to, named.shape), part)
          << named.what << ", " << n << " in [" << from << ", " << to << "]";
    }
  }
}

}  // namespace
