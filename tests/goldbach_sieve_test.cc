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

// Primality of every number up to kLargestN, by a plain sieve.
const std::vector<bool>& primeTable() {
  static const std::vector<bool> prime = [] {
    std::vector<bool> table(kLargestN + 1, true);
    table[0] = table[1] = false;
    for (int i = 2; i * i <= kLargestN; ++i) {
      if (!table[i]) continue;
      for (int j = i * i; j <= kLargestN; j += i) table[j] = false;
    }
    return table;
  }();
  return prime;
}

Pairs expected(int n, int from, int to) {
  Pairs pairs;
  for (int p = std::max(from, 2); p <= to && p <= n / 2; ++p) {
    if (primeTable()[p] && primeTable()[n - p]) pairs.emplace_back(p, n - p);
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

TEST(GoldbachSieveShapes, TinyWindowsGiveThePairsOfAPlainSieve) {
  for (const NamedShape& named : kShapes) {
    for (int n = 4; n <= 4000; n += 2) {
      ASSERT_EQ(sieved(n, 2, n / 2, named.shape), expected(n, 2, n / 2)) << named.what << ", " << n;
    }
    // Larger n, and ranges whose start moves the window edges.
    for (int n = kLargestN - 3000; n <= kLargestN; n += 2) {
      const int from = n / 7, to = n / 3;
      ASSERT_EQ(sieved(n, 2, n / 2, named.shape), expected(n, 2, n / 2)) << named.what << ", " << n;
      ASSERT_EQ(sieved(n, from, to, named.shape), expected(n, from, to))
          << named.what << ", " << n << " in [" << from << ", " << to << "]";
    }
  }
}

}  // namespace
