#include "demos/goldbach_pairs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

// For even n >= 6 the smaller summand p is odd, and n - p >= n / 2 is larger
// than the square root of n. So n - p is prime exactly when no odd prime q up
// to that root divides it, that is when p is not congruent to n modulo q.
// The sieve therefore runs over the low half only, one byte per odd p, and
// each prime q strikes two residue classes there: the multiples of q from
// q * q on (p composite) and the class of n (n - p composite). What survives
// is exactly the set of smaller summands; the high half is sieved in the same
// pass, mirrored onto the low one.

namespace {

using Index = std::int64_t;  // byte k of the low half stands for p = 2k + 1

// A window of this many bytes (twice as many numbers) stays in the level-2
// cache, and is large enough that the primes near the square root of 2^31
// still strike it about once each.
constexpr Index kSegmentBytes = Index{1} << 17;

// The smallest odd primes strike so often that their two classes are laid
// down from a repeating pattern of 3 * 5 * 7 * 11 * 13 = 15015 bytes.
constexpr int kPatternPrimes[] = {3, 5, 7, 11, 13};

int isqrt(int n) {
  auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(n)));
  while (r * r > n) --r;
  while ((r + 1) * (r + 1) <= n) ++r;
  return static_cast<int>(r);
}

std::vector<int> oddPrimesUpTo(int limit) {
  std::vector<int> primes;
  if (limit < 3) return primes;
  std::vector<unsigned char> composite(static_cast<std::size_t>(limit) + 1, 0);
  for (int i = 3; i <= limit; i += 2) {
    if (composite[i]) continue;
    primes.push_back(i);
    for (std::int64_t j = std::int64_t{i} * i; j <= limit; j += 2 * i) composite[j] = 1;
  }
  return primes;
}

// The next byte that a prime clears, and its step in bytes (the prime itself,
// since consecutive odd members of a class lie 2q apart).
struct Strike {
  Index next;
  Index step;
};

// The byte of the first odd p >= start with p congruent to r modulo q.
Index firstInClass(std::int64_t start, int q, int r) {
  std::int64_t p = start + ((r - start % q) % q + q) % q;
  if (p % 2 == 0) p += q;
  return (p - 1) / 2;
}

// The survivors of the pattern primes over one period: byte k is 1 unless
// 2k + 1 is a multiple of some pattern prime q or congruent to n modulo q.
std::vector<unsigned char> makePattern(int n, const std::vector<int>& patternPrimes) {
  int period = 1;
  for (int q : patternPrimes) period *= q;
  std::vector<unsigned char> pattern(static_cast<std::size_t>(period), 1);
  for (int q : patternPrimes) {
    for (int r : {0, n % q}) {
      for (Index k = firstInClass(1, q, r); k < period; k += q) pattern[k] = 0;
    }
  }
  return pattern;
}

void fillFromPattern(unsigned char* segment, Index length, Index k0,
                     const std::vector<unsigned char>& pattern) {
  const auto period = static_cast<Index>(pattern.size());
  Index offset = k0 % period;
  Index filled = 0;
  while (filled < length) {
    Index chunk = std::min(length - filled, period - offset);
    std::memcpy(segment + filled, pattern.data() + offset, static_cast<std::size_t>(chunk));
    filled += chunk;
    offset = 0;
  }
}

// Visits the surviving bytes of a window; false when the visitor stopped.
bool visitSurvivors(const unsigned char* segment, Index length, Index k0, int n,
                    const GoldbachVisitor& visit) {
  Index j = 0;
  // Survivors are sparse: skip eight bytes at a time while all are clear.
  for (; j + 8 <= length; j += 8) {
    std::uint64_t word;
    std::memcpy(&word, segment + j, sizeof word);
    if (word == 0) continue;
    for (Index b = j; b < j + 8; ++b) {
      if (segment[b] == 0) continue;
      int p = static_cast<int>(2 * (k0 + b) + 1);
      if (!visit(p, n - p)) return false;
    }
  }
  for (; j < length; ++j) {
    if (segment[j] == 0) continue;
    int p = static_cast<int>(2 * (k0 + j) + 1);
    if (!visit(p, n - p)) return false;
  }
  return true;
}

}  // namespace

void forEachGoldbachPair(int n, const GoldbachVisitor& visit) {
  forEachGoldbachPair(n, 2, n / 2, visit);
}

void forEachGoldbachPair(int n, int from, int to, const GoldbachVisitor& visit) {
  if (n < 4 || n % 2 != 0 || from > to) return;
  if (n == 4) {
    if (from <= 2 && 2 <= to) visit(2, 2);
    return;
  }
  const int low = std::max(from, 3);
  const int high = std::min(to, n / 2);
  if (low > high) return;
  const Index first = low / 2;        // byte of the first odd p >= low
  const Index last = (high - 1) / 2;  // byte of the last odd p <= high
  if (first > last) return;

  const int root = isqrt(n);
  std::vector<int> patternPrimes;
  std::vector<Strike> strikes;
  for (int q : oddPrimesUpTo(root)) {
    if (std::find(std::begin(kPatternPrimes), std::end(kPatternPrimes), q) !=
        std::end(kPatternPrimes)) {
      patternPrimes.push_back(q);
      continue;
    }
    int r = n % q;
    strikes.push_back({firstInClass(low, q, r), q});
    // With r == 0 the class of n is the multiples themselves, q included.
    std::int64_t square = std::int64_t{q} * q;
    if (r != 0 && square <= high) {
      strikes.push_back({firstInClass(std::max<std::int64_t>(square, low), q, 0), q});
    }
  }
  const std::vector<unsigned char> pattern = makePattern(n, patternPrimes);
  // The pattern strikes a pattern prime itself; it survives when it does
  // not divide n and n minus it is not struck by another pattern prime.
  std::vector<std::pair<Index, unsigned char>> patternPrimeBytes;
  for (int q : patternPrimes) {
    bool survives = true;
    for (int other : patternPrimes) survives = survives && q % other != n % other;
    patternPrimeBytes.push_back({(q - 1) / 2, survives ? 1 : 0});
  }

  std::vector<unsigned char> segment(static_cast<std::size_t>(kSegmentBytes));
  unsigned char* bytes = segment.data();
  for (Index k0 = first; k0 <= last; k0 += kSegmentBytes) {
    const Index length = std::min(kSegmentBytes, last - k0 + 1);
    fillFromPattern(bytes, length, k0, pattern);
    for (auto [k, value] : patternPrimeBytes) {
      if (k >= k0 && k < k0 + length) bytes[k - k0] = value;
    }
    for (Strike& strike : strikes) {
      Index j = strike.next - k0;
      for (; j < length; j += strike.step) bytes[j] = 0;
      strike.next = k0 + j;
    }
    if (!visitSurvivors(bytes, length, k0, n, visit)) return;
  }
}
