#include "demos/goldbach_pairs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

// For even n >= 6 the smaller summand p is odd, and n - p >= n / 2 is larger
// than the square root of n. So n - p is prime exactly when no odd prime q up
// to that root divides it, that is when p is not congruent to n modulo q.
// The sieve therefore runs over the low half only, and each prime q strikes
// two classes there: the multiples of q from q * q on (p composite) and the
// class of n (n - p composite). What survives is exactly the set of smaller
// summands: the high half is sieved in the same pass, mirrored onto the low.
//
// The primes 3, 5 and 7 take part as a wheel: of every 210 numbers only the
// odd ones outside their two classes get a byte at all (between 15 and 48 of
// them, depending on n), and the other primes strike only those bytes.

namespace {

using Index = std::int64_t;

// Windows of about this many bytes (half a common level-2 cache) stay in
// that cache while every prime strikes them; the larger they are, the fewer
// times the primes near the square root of 2^31, which strike a window
// rarely, are visited. Measured best between 2^18 and 2^20.
constexpr Index kWindowBytes = Index{1} << 19;

constexpr int kWheelPrimes[] = {3, 5, 7};
// The odd primes below the first number the wheel part covers.
constexpr int kFirstOddPrimes[] = {3, 5, 7};
constexpr int kFirstWheelNumber = 11;

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

// For an odd m >= 3 whose square root is at most the largest of `primes`.
bool oddIsPrime(int m, const std::vector<int>& primes) {
  for (int q : primes) {
    if (std::int64_t{q} * q > m) return true;
    if (m % q == 0) return false;
  }
  return true;
}

// The inverse of a modulo the prime m, a not a multiple of m.
std::int64_t inverse(std::int64_t a, std::int64_t m) {
  std::int64_t t = 0, newT = 1, r = m, newR = a % m;
  while (newR != 0) {
    std::int64_t quotient = r / newR;
    t = std::exchange(newT, t - quotient * newT);
    r = std::exchange(newR, r - quotient * newR);
  }
  return (t % m + m) % m;
}

// p = block * modulus + residues[s] has byte (block - firstBlock) * S + s.
struct Wheel {
  Index modulus = 2;
  std::vector<int> residues;  // ascending
  std::vector<int> primes;    // the wheel primes in use
};

Wheel makeWheel(int n, int root) {
  Wheel wheel;
  for (int w : kWheelPrimes) {
    if (w > root) continue;
    wheel.primes.push_back(w);
    wheel.modulus *= w;
  }
  for (int c = 1; c < wheel.modulus; c += 2) {
    bool survives = true;
    for (int w : wheel.primes) survives = survives && c % w != 0 && c % w != n % w;
    if (survives) wheel.residues.push_back(c);
  }
  return wheel;
}

// A sieving prime's classes, one progression per class and wheel residue,
// all with the same step in bytes.
struct Siever {
  Index step;
  std::size_t begin, end;  // its progressions in the table of next bytes
};

// Visits the surviving bytes of a window whose summands lie in [low, high];
// false when the visitor stopped.
bool visitSurvivors(const unsigned char* window, Index length, Index g0, Index firstBlock,
                    const Wheel& wheel, int n, int low, int high, const GoldbachVisitor& visit) {
  const auto width = static_cast<Index>(wheel.residues.size());
  auto visitByte = [&](Index j) {
    Index g = g0 + j;
    Index p = (firstBlock + g / width) * wheel.modulus + wheel.residues[g % width];
    if (p < low || p > high) return true;
    return visit(static_cast<int>(p), n - static_cast<int>(p));
  };
  Index j = 0;
  // Survivors are sparse: skip eight bytes at a time while all are clear.
  for (; j + 8 <= length; j += 8) {
    std::uint64_t word;
    std::memcpy(&word, window + j, sizeof word);
    if (word == 0) continue;
    for (Index b = j; b < j + 8; ++b) {
      if (window[b] != 0 && !visitByte(b)) return false;
    }
  }
  for (; j < length; ++j) {
    if (window[j] != 0 && !visitByte(j)) return false;
  }
  return true;
}

// The splits whose smaller summand p lies in [low, high], low >= 11.
void sieveSummands(int n, int low, int high, int root, const std::vector<int>& primes,
                   const GoldbachVisitor& visit) {
  const Wheel wheel = makeWheel(n, root);
  const Index modulus = wheel.modulus;
  const auto width = static_cast<Index>(wheel.residues.size());
  const Index firstBlock = low / modulus;
  const Index totalBytes = (high / modulus - firstBlock + 1) * width;

  std::vector<Index> next;
  std::vector<Siever> sievers;
  for (int q : primes) {
    if (q < kFirstWheelNumber) continue;  // a wheel prime
    const Index period = modulus * q;
    const Index inverseOfModulus = inverse(modulus % q, q);
    const int r = n % q;
    const std::size_t begin = next.size();
    auto addClass = [&](int target, Index start) {
      if (start > high) return;
      for (Index s = 0; s < width; ++s) {
        // The p with p = residue (mod modulus) and p = target (mod q).
        const int residue = wheel.residues[s];
        Index x = ((target - residue) % q + q) % q * inverseOfModulus % q;
        Index p = residue + modulus * x;
        if (p < start) p += (start - p + period - 1) / period * period;
        next.push_back((p / modulus - firstBlock) * width + s);
      }
    };
    addClass(r, low);
    // With r == 0 the class of n is the multiples themselves, q included.
    if (r != 0) addClass(0, std::max<Index>(Index{q} * q, low));
    if (next.size() != begin) sievers.push_back({q * width, begin, next.size()});
  }

  const Index windowBytes = std::max<Index>(1, kWindowBytes / width) * width;
  std::vector<unsigned char> window(static_cast<std::size_t>(windowBytes));
  unsigned char* bytes = window.data();
  for (Index g0 = 0; g0 < totalBytes; g0 += windowBytes) {
    const Index length = std::min(windowBytes, totalBytes - g0);
    std::memset(bytes, 1, static_cast<std::size_t>(length));
    for (const Siever& siever : sievers) {
      for (std::size_t i = siever.begin; i < siever.end; ++i) {
        Index j = next[i] - g0;
        for (; j < length; j += siever.step) bytes[j] = 0;
        next[i] = g0 + j;
      }
    }
    if (!visitSurvivors(bytes, length, g0, firstBlock, wheel, n, low, high, visit)) return;
  }
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
  // From 6 on the smaller summand is odd: n - 2 is even and above 2.
  const int low = std::max(from, 3);
  const int high = std::min(to, n / 2);
  if (low > high) return;
  const int root = isqrt(n);
  const std::vector<int> primes = oddPrimesUpTo(root);
  for (int p : kFirstOddPrimes) {
    if (p < low || p > high) continue;
    if (oddIsPrime(n - p, primes) && !visit(p, n - p)) return;
  }
  if (std::max(low, kFirstWheelNumber) <= high) {
    sieveSummands(n, std::max(low, kFirstWheelNumber), high, root, primes, visit);
  }
}
