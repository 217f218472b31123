// The pass count of the four nested loops up to L = (n+1)/2: the number of
// quadruples L >= i >= j >= k >= m >= 0, (L+1)(L+2)(L+3)(L+4)/24, exact.
#pragma once

#include <cstdint>
#include <string>

namespace quorvantile {

// The largest loop bound the pass count is computed for: L for n = INT_MAX.
constexpr std::uint32_t kLargestLoopBound = 1u << 30;

// The count's decimal digits, for L <= kLargestLoopBound.
std::string passCountDigits(std::uint32_t loopBound);

}  // namespace quorvantile
