// The plain four-square search that the sweep is checked and measured
// against: every j and k that can still add up, the rest checked for a
// square, about n^1.5 steps.
#pragma once

#include <cstdint>
#include <functional>

struct FourSquares {
  std::int64_t i, j, k, m;
};

using FourSquaresVisitor = std::function<bool(const FourSquares&)>;

// Calls `found` for every decomposition n = i²+j²+k²+m², i >= j >= k >= m >= 0
// (1 <= n < 2^62), in the order of i, j, k; stops when `found` returns false.
void forEachFourSquares(std::int64_t n, const FourSquaresVisitor& found);

// The same for the decompositions of n whose largest root is i.
void forEachFourSquaresWithI(std::int64_t n, std::int64_t i, const FourSquaresVisitor& found);
