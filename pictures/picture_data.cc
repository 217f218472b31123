// Every call into the demonstrations' mathematics that the pictures make is
// in this file.
#include "pictures/picture_data.h"

#include <algorithm>
#include <utility>

#include "demos/collatz_math.h"
#include "demos/four_square_entry.h"
#include "demos/four_square_sweep.h"
#include "demos/goldbach_pairs.h"
#include "demos/integer_sqrt.h"
#include "demos/nicomachus.h"
#include "demos/sieve_bits.h"

namespace quorvantile {

GoldbachComet goldbachComet(int n) {
  GoldbachComet comet;
  comet.bound = std::min(n, kCometLimit) & ~1;
  comet.counts.assign(static_cast<std::size_t>(comet.bound / 2) + 1, 0);
  if (comet.bound < 4) return comet;
  auto numbers = sievedUpTo(comet.bound);
  std::vector<std::int32_t> primes;
  for (int k = 2; k <= comet.bound; ++k) {
    if ((*numbers)[k]) primes.push_back(k);
  }
  // Every pair of primes p <= q with an even sum up to the bound adds one
  // split to that sum: the only even sum with the prime 2 is 4.
  ++comet.counts[2];
  for (std::size_t a = 1; a < primes.size(); ++a) {
    const std::int32_t p = primes[a];
    for (std::size_t b = a; b < primes.size() && p + primes[b] <= comet.bound; ++b) {
      ++comet.counts[static_cast<std::size_t>((p + primes[b]) / 2)];
    }
  }
  return comet;
}

GoldbachPairs goldbachPairs(int n, int keep, int runs) {
  GoldbachPairs pairs;
  pairs.counted = n <= kPairCountLimit;
  // p runs over 2..half: at most half - 1 runs, none of them empty.
  const std::int64_t half = n / 2;
  const std::int64_t width = half - 1;
  const std::int64_t runCount =
      std::min<std::int64_t>(std::max(runs, 0), std::max<std::int64_t>(width, 0));
  for (std::int64_t k = 0; runCount > 0 && k <= runCount; ++k)
    pairs.runStarts.push_back(static_cast<std::int32_t>(2 + k * width / runCount));
  if (pairs.counted) pairs.runCounts.assign(static_cast<std::size_t>(runCount), 0);
  forEachGoldbachPair(n, [&](int p, int) {
    if (static_cast<int>(pairs.smaller.size()) < keep) pairs.smaller.push_back(p);
    ++pairs.count;
    if (pairs.counted && runCount > 0) {
      const auto after = std::upper_bound(pairs.runStarts.begin(), pairs.runStarts.end(), p);
      ++pairs.runCounts[static_cast<std::size_t>(after - pairs.runStarts.begin() - 1)];
    }
    return pairs.counted || static_cast<int>(pairs.smaller.size()) < keep;
  });
  if (!pairs.counted) pairs.count = 0;
  return pairs;
}

std::int64_t goldbachPairCount(int n, int from, int to) {
  std::int64_t count = 0;
  forEachGoldbachPair(n, from, to, [&](int, int) {
    ++count;
    return true;
  });
  return count;
}

CollatzPath collatzPath(int n) {
  CollatzPath path;
  if (n < 1) return path;
  CollatzWalk walk = walkCollatz(n, [&](std::int64_t t) {
    if (t > path.peak) {
      path.peak = t;
      path.peakStep = static_cast<std::int64_t>(path.terms.size());
    }
    path.terms.push_back(static_cast<double>(t));
  });
  path.steps = walk.steps;
  path.leftRange = walk.leftRange;
  return path;
}

NicomachusSums nicomachusSums(int n) {
  NicomachusSums sums;
  if (n < 1 || n > kNicomachusLimit) return sums;
  std::int64_t side = 0, cubes = 0;
  for (std::int64_t k = 1; k <= n; ++k) {
    side += k;
    cubes += k * k * k;
    sums.sides.push_back(side);
    sums.cubeSums.push_back(cubes);
  }
  TurnRuns turn = nicomachusTurnRuns(n);
  sums.written = std::move(turn.runs);
  sums.more = turn.more;
  for (const OddRun& run : oddRunsOfCube(n)) {
    if (run.count == n) sums.band = run;
  }
  return sums;
}

FourSquareWindow fourSquareWindow(int n, std::int64_t first, int keep) {
  FourSquareWindow window;
  if (n < 1) return window;
  const std::int64_t last = first + keep;
  bool more = false;
  forEachFourSquareRun(n, [&](std::int32_t i, const std::uint32_t* entries, std::size_t count) {
    const std::int64_t rest = static_cast<std::int64_t>(n) - static_cast<std::int64_t>(i) * i;
    for (std::size_t e = 0; e < count; ++e) {
      if (window.count == kFourSquareCountLimit) {
        more = true;
        return false;
      }
      const std::int64_t at = window.count++;
      if (at < first || at >= last) continue;
      const std::int32_t j = static_cast<std::int32_t>(highRoot(entries[e]));
      const std::int32_t k = static_cast<std::int32_t>(lowRoot(entries[e]));
      const std::int64_t mm =
          rest - static_cast<std::int64_t>(j) * j - static_cast<std::int64_t>(k) * k;
      window.roots.push_back({i, j, k, static_cast<std::int32_t>(integerSqrt(mm))});
    }
    return true;
  });
  window.complete = !more;
  return window;
}

SievePicture sievePicture(int n) {
  SievePicture picture;
  if (n < 1 || n > kSieveLimit) return picture;
  auto numbers = sievedUpTo(n);
  picture.count = countPrimes(*numbers, n);
  if (n <= kSieveGridLimit) {
    picture.smallestFactor.assign(static_cast<std::size_t>(n) + 1, 0);
    for (int p = 2; p <= n; ++p) {
      if (!(*numbers)[p]) continue;
      for (int k = p; k <= n; k += p) {
        if (picture.smallestFactor[static_cast<std::size_t>(k)] == 0)
          picture.smallestFactor[static_cast<std::size_t>(k)] = p;
      }
    }
    return picture;
  }
  for (int point = 1; point <= kPrimeCurvePoints; ++point) {
    const int x = static_cast<int>(static_cast<std::int64_t>(n) * point / kPrimeCurvePoints);
    picture.curveX.push_back(x);
    picture.curvePi.push_back(countPrimes(*numbers, x));
  }
  return picture;
}

}  // namespace quorvantile
