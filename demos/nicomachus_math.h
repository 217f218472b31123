// Runs of consecutive odd numbers that add up to a cube, found from the
// cube's divisors: a run of m odd numbers from a sums to m(a+m-1).
#pragma once

#include <cstdint>
#include <vector>

namespace quorvantile {

// first, first+2, ..., first+2(count-1).
struct OddRun {
  std::int64_t first;
  std::int64_t count;
  std::int64_t last() const { return first + 2 * (count - 1); }
};

// The largest n whose cube still fits in a signed 32-bit int: 1290³ =
// 2146689000, 1291³ = 2151685171.
constexpr int kLargestIntCubeRoot = 1290;
// The largest n whose cube fits in a signed 64-bit int.
constexpr std::int64_t kLargestCubeRoot = 2097151;

// Every run of two or more odd numbers, each below n³, that adds up to n³,
// smallest first term first. 1 <= n <= kLargestCubeRoot.
std::vector<OddRun> oddRunsOfCube(std::int64_t n);

}  // namespace quorvantile
