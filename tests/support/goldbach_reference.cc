#include "tests/support/goldbach_reference.h"

GoldbachPairs pairsByTrialDivision(int n, int from, int to) {
  GoldbachPairs pairs;
  forEachPairByTrialDivision(n, from, to, [&](int p, int q) { pairs.emplace_back(p, q); });
  return pairs;
}

GoldbachPairs pairsFromTable(const std::vector<char>& isPrime, int n, int from, int to) {
  GoldbachPairs pairs;
  for (int p = std::max(from, 2); p <= to && p <= n / 2; ++p) {
    if (isPrime[p] && isPrime[n - p]) pairs.emplace_back(p, n - p);
  }
  return pairs;
}
