// The splits of an even number into two primes found the plain ways: by
// trial division of every candidate, as the demonstration was first written,
// and by looking both summands up in a table of the plain sieve.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "demos/goldbach.h"

using GoldbachPairs = std::vector<std::pair<int, int>>;

// Calls visit(p, n - p) for each p in [from, to], p <= n / 2, with both
// summands prime by isPrime, in increasing order of p.
template <class Visit>
void forEachPairByTrialDivision(int n, int from, int to, Visit visit) {
  for (int i = std::max(from, 2); i <= to && i <= n / 2; ++i) {
    if (quorvantile::isPrime(i) && quorvantile::isPrime(n - i)) visit(i, n - i);
  }
}

GoldbachPairs pairsByTrialDivision(int n, int from, int to);

// The same from isPrime = primeFlags(limit), limit >= n.
GoldbachPairs pairsFromTable(const std::vector<char>& isPrime, int n, int from, int to);
