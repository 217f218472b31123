// The numbers behind the web page's pictures of the five demonstrations,
// taken from the demonstrations' own mathematics. Every function here returns
// within a bounded time whatever its input (the page calls them between the
// program's turns, on the thread that also takes the keys): past a limit it
// gives less, and says so, rather than taking longer.
#pragma once

#include <cstdint>
#include <vector>

#include "demos/nicomachus_math.h"

namespace quorvantile {

// The comet stops here at most: the pair counts of every even number up to
// 100000 take a few tens of milliseconds, and fill a picture's width many
// times over.
constexpr int kCometLimit = 100000;
// Pairs of n are counted up to this n: a count takes time in proportion to
// n, about 20 ms here natively and a few times that in the browser.
constexpr int kPairCountLimit = 200000000;
// Decompositions into four squares are counted up to this many, past which
// the count is "more than": n = 10^7 has 6262, and reaching the limit takes
// some tens of milliseconds natively even for n = 2^31 - 1.
constexpr std::int64_t kFourSquareCountLimit = 10000;
// Nicomachus's tiling is computed up to the largest n the demonstration
// itself takes (its cube fits in an int).
constexpr int kNicomachusLimit = 1290;
// The sieve's grid shows at most this many numbers; above, the picture is
// the prime-counting curve, sampled at this many points.
constexpr int kSieveGridLimit = 1000;
constexpr int kPrimeCurvePoints = 400;

// counts[m / 2] is the number of splits m = p + q (p <= q, both prime) of the
// even number m, for every even m up to bound; bound is n, made even and
// held to kCometLimit.
struct GoldbachComet {
  int bound = 0;
  std::vector<std::int32_t> counts;
};
GoldbachComet goldbachComet(int n);

// The first `keep` smaller summands p of n's splits, and how many splits
// there are, when n is at most kPairCountLimit (counted is false otherwise,
// and the summands are still given: goldbachPairCount counts them by parts).
// The splits are also counted by where p lies, in at most `runs` runs of
// consecutive p that cover 2..n/2 in order: run k holds p from runStarts[k]
// to runStarts[k + 1] - 1, and runCounts[k] of the splits (runCounts is empty
// when not counted; the runs are then the parts to count by).
struct GoldbachPairs {
  std::vector<std::int32_t> smaller;
  std::int64_t count = 0;
  bool counted = false;
  std::vector<std::int32_t> runStarts;
  std::vector<std::int64_t> runCounts;
};
GoldbachPairs goldbachPairs(int n, int keep, int runs = 0);

// The number of splits n = p + q whose smaller summand p lies in [from, to]:
// the count of any n in parts, each taking time in proportion to to - from.
std::int64_t goldbachPairCount(int n, int from, int to);

// The terms of n's sequence down to 1, and its highest term with the step
// where it is first reached (step 0 is n itself). leftRange as in the
// demonstration, when a term would leave 64 bits.
struct CollatzPath {
  std::vector<double> terms;  // for drawing: exact up to 2^53
  std::int64_t steps = 0;
  std::int64_t peak = 0;
  std::int64_t peakStep = 0;
  bool leftRange = false;
};
CollatzPath collatzPath(int n);

// For k = 1..n: the side 1+2+...+k of the square the first k bands tile,
// and 1³+2³+...+k³, summed cube by cube, the area they cover. Then the runs
// of odd numbers that n's turn writes, as the turn itself chooses them
// (nicomachusTurnRuns), `more` when it says there are others; and the run of
// n odd numbers that band n stands for (count 0 for n = 1, which has none),
// written by the turn too unless `more`. Empty when n is outside
// 1..kNicomachusLimit.
struct NicomachusSums {
  std::vector<std::int64_t> sides;
  std::vector<std::int64_t> cubeSums;
  std::vector<OddRun> written;
  bool more = false;
  OddRun band{0, 0};
};
NicomachusSums nicomachusSums(int n);

// The decompositions n = i²+j²+k²+m², in the demonstration's order, from
// number `first` (counting from 0) on, at most `keep` of them; and how many
// there are, up to kFourSquareCountLimit (complete is false past it).
struct FourSquareWindow {
  struct Roots {
    std::int32_t i, j, k, m;
  };
  std::vector<Roots> roots;
  std::int64_t count = 0;
  bool complete = false;
};
FourSquareWindow fourSquareWindow(int n, std::int64_t first, int keep);

// The sieve up to n (1 <= n <= 1000000): the number of primes, and for
// n <= kSieveGridLimit the smallest prime factor of every number 0..n (0 for
// 0 and 1, the number itself for a prime); above it, π(x) at kPrimeCurvePoints
// points x spread evenly up to n.
struct SievePicture {
  int count = 0;
  std::vector<std::int32_t> smallestFactor;
  std::vector<std::int32_t> curveX;
  std::vector<std::int32_t> curvePi;
};
SievePicture sievePicture(int n);

}  // namespace quorvantile
