// Every way of writing n as i²+j²+k²+m² with i >= j >= k >= m >= 0, found by
// a search that visits only the squares that can still add up to n, and the
// pass count of the complete four nested loops up to L = (n+1)/2.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct FourSquares {
  std::int64_t i, j, k, m;
};

// Calls `found` for every decomposition of n (1 <= n < 2^62), ordered by i,
// then j, k and m, ascending. Stops early when `found` returns false.
void forEachFourSquares(std::int64_t n, const std::function<bool(const FourSquares&)>& found);

// The largest loop bound the pass count is computed for: L for n = INT_MAX.
constexpr std::uint32_t kLargestLoopBound = 1u << 30;

// The decimal digits of (L+1)(L+2)(L+3)(L+4)/24, the number of quadruples
// L >= i >= j >= k >= m >= 0, computed exactly. L <= kLargestLoopBound.
std::string passCountDigits(std::uint32_t loopBound);
