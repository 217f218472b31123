#include "demos/four_square_math.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The whole part of the square root of x >= 0.
std::int64_t isqrt(std::int64_t x) {
  auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(x)));
  while (r > 0 && r * r > x) --r;
  while ((r + 1) * (r + 1) <= x) ++r;
  return r;
}

// The smallest r >= 0 with parts·r² >= x: below it, `parts` equal squares no
// larger than r² cannot make up x.
std::int64_t smallestRoot(std::int64_t x, std::int64_t parts) {
  std::int64_t r = isqrt(x / parts);
  while (parts * r * r < x) ++r;
  return r;
}

// Digits of an exact whole number, least significant limb first.
constexpr std::uint64_t kLimbBase = 1000000000;
using Limbs = std::vector<std::uint64_t>;

void multiply(Limbs& value, std::uint64_t factor) {
  std::uint64_t carry = 0;
  for (std::uint64_t& limb : value) {
    std::uint64_t product = limb * factor + carry;  // < 1e9·2^32 + carry: fits
    limb = product % kLimbBase;
    carry = product / kLimbBase;
  }
  while (carry != 0) {
    value.push_back(carry % kLimbBase);
    carry /= kLimbBase;
  }
}

void divideExactly(Limbs& value, std::uint64_t divisor) {
  std::uint64_t remainder = 0;
  for (auto limb = value.rbegin(); limb != value.rend(); ++limb) {
    std::uint64_t part = remainder * kLimbBase + *limb;
    *limb = part / divisor;
    remainder = part % divisor;
  }
  while (value.size() > 1 && value.back() == 0) value.pop_back();
}

std::string toDecimal(const Limbs& value) {
  std::string digits = std::to_string(value.back());
  for (auto limb = value.rbegin() + 1; limb != value.rend(); ++limb) {
    std::string part = std::to_string(*limb);
    digits.append(9 - part.size(), '0');
    digits += part;
  }
  return digits;
}

}  // namespace

void forEachFourSquares(std::int64_t n, const std::function<bool(const FourSquares&)>& found) {
  for (std::int64_t i = smallestRoot(n, 4), iLast = isqrt(n); i <= iLast; ++i) {
    const std::int64_t afterI = n - i * i;
    const std::int64_t jLast = std::min(i, isqrt(afterI));
    for (std::int64_t j = smallestRoot(afterI, 3); j <= jLast; ++j) {
      const std::int64_t afterJ = afterI - j * j;
      const std::int64_t kFirst = smallestRoot(afterJ, 2);
      const std::int64_t kLast = std::min(j, isqrt(afterJ));
      if (kFirst > kLast) continue;
      // As k grows the rest shrinks, so m only ever moves down.
      std::int64_t m = isqrt(afterJ - kFirst * kFirst);
      for (std::int64_t k = kFirst; k <= kLast; ++k) {
        const std::int64_t rest = afterJ - k * k;
        while (m * m > rest) --m;
        if (m * m == rest && !found({i, j, k, m})) return;
      }
    }
  }
}

std::string passCountDigits(std::uint32_t loopBound) {
  Limbs count{1};
  for (std::uint64_t factor = 1; factor <= 4; ++factor) multiply(count, loopBound + factor);
  divideExactly(count, 24);
  return toDecimal(count);
}
