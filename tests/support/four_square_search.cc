#include "tests/support/four_square_search.h"

#include <algorithm>

#include "demos/integer_sqrt.h"

using quorvantile::integerSqrt;

namespace {

// The smallest r >= 0 with parts·r² >= x.
std::int64_t smallestRoot(std::int64_t x, std::int64_t parts) {
  std::int64_t r = integerSqrt(x / parts);
  while (parts * r * r < x) ++r;
  return r;
}

}  // namespace

void forEachFourSquaresWithI(std::int64_t n, std::int64_t i, const FourSquaresVisitor& found) {
  const std::int64_t afterI = n - i * i;
  if (afterI < 0) return;
  const std::int64_t jLast = std::min(i, integerSqrt(afterI));
  for (std::int64_t j = smallestRoot(afterI, 3); j <= jLast; ++j) {
    const std::int64_t afterJ = afterI - j * j;
    const std::int64_t kFirst = smallestRoot(afterJ, 2);
    const std::int64_t kLast = std::min(j, integerSqrt(afterJ));
    if (kFirst > kLast) continue;
    // As k grows the rest shrinks, so m only ever moves down.
    std::int64_t m = integerSqrt(afterJ - kFirst * kFirst);
    for (std::int64_t k = kFirst; k <= kLast; ++k) {
      const std::int64_t rest = afterJ - k * k;
      while (m * m > rest) --m;
      if (m * m == rest && !found({i, j, k, m})) return;
    }
  }
}

void forEachFourSquares(std::int64_t n, const FourSquaresVisitor& found) {
  bool more = true;
  const auto keepGoing = [&](const FourSquares& s) { return more = found(s); };
  for (std::int64_t i = smallestRoot(n, 4), iLast = integerSqrt(n); more && i <= iLast; ++i)
    forEachFourSquaresWithI(n, i, keepGoing);
}
