// Every way of writing n as i²+j²+k²+m² with i >= j >= k >= m >= 0, in the
// order i, then j, k and m ascending: found fast by matching sums of two
// squares (for the turn), or by a plain search that visits only the squares
// that can still add up (the reference the fast one is checked against). And
// the pass count of the complete four nested loops up to L = (n+1)/2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct FourSquares {
  std::int64_t i, j, k, m;
};

// The plain search: calls `found` for every decomposition of n
// (1 <= n < 2^62) in order. Stops early when `found` returns false.
void forEachFourSquares(std::int64_t n, const std::function<bool(const FourSquares&)>& found);

// The plain search for the decompositions of n whose largest root is i.
void forEachFourSquaresWithI(std::int64_t n, std::int64_t i,
                             const std::function<bool(const FourSquares&)>& found);

// Consecutive decompositions of n sharing the largest root i, in order. Entry
// e stands for j = e >> 16 and k = e & 0xFFFF; m is the root of n-i²-j²-k².
using FourSquareRun =
    std::function<bool(std::int32_t i, const std::uint32_t* entries, std::size_t count)>;

// Bytes the fast enumeration may hold back for the rows it cannot write yet
// (about 3 a decomposition): what does not fit is found again in a later
// pass, so this bounds the memory, not the output.
constexpr std::size_t kFourSquareStoreBytes = std::size_t{48} << 20;

// The fast enumeration: hands every decomposition of n (1 <= n <= 2^31 - 1)
// to `run`, in order, in runs; stops early when `run` returns false. At most
// `storeBytes` are held at once, unless one i alone needs more.
void forEachFourSquareRun(std::int32_t n, const FourSquareRun& run,
                          std::size_t storeBytes = kFourSquareStoreBytes);

// The largest loop bound the pass count is computed for: L for n = INT_MAX.
constexpr std::uint32_t kLargestLoopBound = 1u << 30;

// The decimal digits of (L+1)(L+2)(L+3)(L+4)/24, the number of quadruples
// L >= i >= j >= k >= m >= 0, computed exactly. L <= kLargestLoopBound.
std::string passCountDigits(std::uint32_t loopBound);
