// The whole part of a square root, exact over the range the demonstrations
// use: the double's estimate can be off by one either way near a perfect
// square, so it is corrected on both sides.
#pragma once

#include <cmath>
#include <cstdint>

namespace quorvantile {

// floor(sqrt(x)) for 0 <= x < 2^62 (so that (r + 1)² cannot overflow).
inline std::int64_t integerSqrt(std::int64_t x) {
  auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(x)));
  // After the first loop r is at most the root; after the second
  // r² <= x < (r + 1)², so r is the root.
  while (r > 0 && r * r > x) --r;
  while ((r + 1) * (r + 1) <= x) ++r;
  return r;
}

}  // namespace quorvantile
