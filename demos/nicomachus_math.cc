#include "demos/nicomachus_math.h"

#include <algorithm>
#include <functional>

namespace quorvantile {

namespace {

// The divisors of n³, from the prime factors of n.
std::vector<std::int64_t> divisorsOfCube(std::int64_t n) {
  std::vector<std::int64_t> divisors{1};
  auto addPrime = [&](std::int64_t p, int exponent) {
    std::size_t before = divisors.size();
    std::int64_t power = 1;
    for (int e = 1; e <= 3 * exponent; ++e) {
      power *= p;
      for (std::size_t d = 0; d < before; ++d) divisors.push_back(divisors[d] * power);
    }
  };
  for (std::int64_t p = 2; p * p <= n; ++p) {
    int exponent = 0;
    while (n % p == 0) {
      n /= p;
      ++exponent;
    }
    if (exponent > 0) addPrime(p, exponent);
  }
  if (n > 1) addPrime(n, 1);
  return divisors;
}

}  // namespace

std::vector<OddRun> oddRunsOfCube(std::int64_t n) {
  const std::int64_t cube = n * n * n;
  std::vector<std::int64_t> counts = divisorsOfCube(n);
  // The more terms, the smaller the first one.
  std::sort(counts.begin(), counts.end(), std::greater<>());
  std::vector<OddRun> runs;
  for (std::int64_t m : counts) {
    const std::int64_t quotient = cube / m;  // a + m - 1, the mean of the run
    // At least two terms, a first term of at least 1, and an odd one.
    if (m < 2 || quotient < m || (quotient - m) % 2 != 0) continue;
    runs.push_back({quotient - m + 1, m});
  }
  return runs;
}

}  // namespace quorvantile
