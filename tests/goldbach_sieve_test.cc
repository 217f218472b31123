// The Goldbach sieve cut into tiny windows and pieces, so that with small n
// every striking path meets the ends of windows, of pieces and of patterns
// many times over: the pairs must not depend on where those ends fall.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "demos/goldbach_pairs.h"
#include "tests/support/goldbach_reference.h"
#include "tests/support/plain_sieve.h"

namespace quorvantile {

namespace {

using Pairs = GoldbachPairs;

constexpr int kLargestN = 300120;

Pairs sieved(int n, int from, int to, const GoldbachSieveShape& shape) {
  Pairs pairs;
  forEachGoldbachPair(n, from, to, shape, [&](int p, int q) {
    pairs.emplace_back(p, q);
    return true;
  });
  return pairs;
}

// Near 30000 a class's step is at most 173 * 48 bits, and the low half holds
// 1070 to 3430 bits (15 to 48 of every 210 numbers): windows of 64 to 448
// bits are crossed up to dozens of times, and most periods of the sparse
// classes outgrow them. Near 300000 the patterns fit the range, and with a
// small cap each prime has its own, which starts over within a window.
struct NamedShape {
  const char* what;
  GoldbachSieveShape shape;
};
constexpr NamedShape kShapes[] = {
    {"every class through cursors, one word per window", {64, 64, 0, 13, 1 << 19}},
    {"every class residue by residue, two pieces per window", {128, 64, UINT32_MAX, 13, 1 << 19}},
    {"the small classes dense, the rest through cursors", {192, 64, 600, 13, 1 << 19}},
    {"a pattern per prime up to 31, pieces of two words", {320, 128, 1200, 31, 64}},
    {"patterns up to 199, pieces that do not divide the window", {448, 192, 3000, 199, 1 << 19}},
};

// Every shape for each n, against the plain sieve: the even numbers up to
// 4000, from 27000 to 30000 and from 300000 to kLargestN, the larger ones
// whole and in a range whose start moves the window edges. Ranges of a
// single odd number sieve one block of the wheel, too short for any pattern,
// so that every prime above 7 strikes through its classes, starting at the
// range's one number; for 4 the single 1 leaves out the pair 2 + 2.
TEST(GoldbachSieveShapes, TinyWindowsGiveThePairsOfAPlainSieve) {
  const std::vector<char> isPrime = primeFlags(kLargestN);
  std::vector<int> numbers;
  for (int n = 4; n <= 4000; n += 2) numbers.push_back(n);
  for (int n = 27000; n <= 30000; n += 2) numbers.push_back(n);
  for (int n = 300000; n <= kLargestN; n += 2) numbers.push_back(n);
  for (int n : numbers) {
    std::vector<std::pair<int, int>> ranges = {{2, n / 2}};
    if (n >= 4000) ranges.emplace_back(n / 7, n / 3);
    for (int p : {(n / 2 - 1) | 1, (n / 3) | 1, (n / 5) | 1}) ranges.emplace_back(p, p);
    for (auto [from, to] : ranges) {
      const Pairs expected = pairsFromTable(isPrime, n, from, to);
      for (const NamedShape& named : kShapes) {
        ASSERT_EQ(sieved(n, from, to, named.shape), expected)
            << named.what << ", " << n << " in [" << from << ", " << to << "]";
      }
    }
  }
}

}  // namespace

}  // namespace quorvantile
