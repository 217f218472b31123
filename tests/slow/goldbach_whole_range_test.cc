// Every Goldbach pair of a few even numbers near 2^31, counted and hashed,
// against a plain segmented sieve written here: the whole low half, with
// every window edge, pattern phase and cursor of the program's own sieve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "demos/goldbach_pairs.h"
#include "tests/support/plain_sieve.h"

namespace quorvantile {

namespace {

// 2^31 - 2 and 2^31 - 4, and twice the largest prime below 2^30, which has
// fewer pairs than the even numbers around it (no odd prime divides it but
// that one).
constexpr int kNumbers[] = {2147483646, 2147483644, 2147483578};
constexpr int kSmallest = 2147483578;
constexpr int kLargest = 2147483646;

struct Tally {
  std::int64_t count = 0;
  std::uint64_t hash = 14695981039346656037ull;

  void add(std::int64_t p, std::int64_t q) {
    ++count;
    for (std::int64_t part : {p, q})
      hash = (hash ^ static_cast<std::uint64_t>(part)) * 1099511628211ull;
  }
  bool operator==(const Tally& other) const { return count == other.count && hash == other.hash; }
};

// prime[i] says whether first + 2 i is prime, for odd first >= 1 and numbers
// whose square roots are at most the largest of `primes`.
void sieveOdd(std::int64_t first, std::size_t count, const std::vector<int>& primes,
              std::vector<char>& prime) {
  prime.assign(count, 1);
  if (first == 1) prime[0] = 0;
  const std::int64_t last = first + 2 * static_cast<std::int64_t>(count - 1);
  for (int q : primes) {
    if (q == 2) continue;
    const std::int64_t square = std::int64_t{q} * q;
    if (square > last) break;
    // The first odd multiple of q at or after both first and q * q.
    std::int64_t m = std::max(square, (first + q - 1) / q * q);
    if (m % 2 == 0) m += q;
    for (auto i = static_cast<std::size_t>((m - first) / 2); i < count; i += q) prime[i] = 0;
  }
}

TEST(GoldbachWholeRange, EveryPairNearTheIntLimitMatchesAPlainSieve) {
  const std::vector<int> primes = primesUpTo(46341);  // 46341^2 > 2^31
  Tally expected[std::size(kNumbers)];
  // Each window of the low half, [low, low + 2 kOdds), together with the
  // window of partners n - p of all the numbers at once.
  constexpr std::int64_t kOdds = 1 << 18;
  std::vector<char> lowPrime, highPrime;
  for (std::int64_t low = 3; low <= kLargest / 2; low += 2 * kOdds) {
    const std::int64_t lowLast = std::min<std::int64_t>(low + 2 * (kOdds - 1), kLargest / 2 | 1);
    const std::int64_t highFirst = kSmallest - lowLast, highLast = kLargest - low;
    sieveOdd(low, static_cast<std::size_t>((lowLast - low) / 2 + 1), primes, lowPrime);
    sieveOdd(highFirst, static_cast<std::size_t>((highLast - highFirst) / 2 + 1), primes,
             highPrime);
    for (std::size_t i = 0; i < lowPrime.size(); ++i) {
      if (!lowPrime[i]) continue;
      const std::int64_t p = low + 2 * static_cast<std::int64_t>(i);
      for (std::size_t k = 0; k < std::size(kNumbers); ++k) {
        const int n = kNumbers[k];
        if (p <= n / 2 && highPrime[static_cast<std::size_t>((n - p - highFirst) / 2)]) {
          expected[k].add(p, n - p);
        }
      }
    }
  }
  // 2 takes part in no pair: n - 2 is even and above 2.
  for (std::size_t k = 0; k < std::size(kNumbers); ++k) {
    Tally sieved;
    forEachGoldbachPair(kNumbers[k], [&](int p, int q) {
      sieved.add(p, q);
      return true;
    });
    EXPECT_GT(expected[k].count, 0) << kNumbers[k];
    EXPECT_EQ(sieved.count, expected[k].count) << kNumbers[k];
    EXPECT_EQ(sieved.hash, expected[k].hash) << kNumbers[k];
  }
}

}  // namespace

}  // namespace quorvantile
