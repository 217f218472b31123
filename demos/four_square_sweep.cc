// The sweep splits a decomposition into u = i² + j² and t = k² + m² = n - u,
// and goes through u upwards in windows. In each window every point (k, m),
// m <= k, whose t falls in the window goes into a bucket by t, in descending
// k so that each bucket lists its points in ascending k, and a bit per t
// tells which buckets hold any; then the points (i, j) of the open rows i
// whose u falls in the window look up their buckets, in the order of i and
// then j, and each (k, m) there with k <= j is a match. The matches come in
// output order (i, then j as u grows, then k), and a bucket's walk stops at
// its first k beyond j.
//
// A row i is complete once u has passed i² + jLast², which for i² < n/2
// happens in the order of i: the lowest complete rows are handed on while
// the sweep goes on. Matches of rows still open wait in the store; when it is
// full, the complete rows of the pass before that still wait are handed on,
// then the highest open rows are dropped and found again by a later pass
// that starts from the first of them (rows with i² > n/2 all end near u = n,
// so the largest entries take a few passes). A pass visits each lattice
// point it needs once: about n/4 points for a pass over every i.
#include "demos/four_square_sweep.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "demos/four_square_entry.h"
#include "demos/four_square_store.h"
#include "demos/integer_sqrt.h"
#include "demos/own_call.h"

namespace quorvantile {

namespace {

// The smallest r >= 0 with parts·r² >= x: below it, `parts` equal squares no
// larger than r² cannot make up x.
std::int64_t smallestRoot(std::int64_t x, std::int64_t parts) {
  std::int64_t r = integerSqrt(x / parts);
  while (parts * r * r < x) ++r;
  return r;
}

// Squares are 0, 1 or 4 mod 8, so a sum of two squares is 0, 1, 2, 4 or 5
// mod 8, and a sum u of two of n's squares can be part of a decomposition
// only when n - u is such a residue too. Which sums can depends on the two
// roots mod 4 alone. Beside a larger root x, each side visits only the
// smaller roots y in a residue class that holds all that can: for
// n = 2^31 - 1 that leaves 5/8 of the points, for multiples of 8 a quarter.
// The rest could never match: their buckets would never be looked up, and
// their lookups would find nothing.
constexpr std::uint32_t kTwoSquareResidues = 1u << 0 | 1u << 1 | 1u << 2 | 1u << 4 | 1u << 5;

constexpr bool mayMatch(std::int64_t n, std::int64_t sum) {
  return (kTwoSquareResidues >> sum % 8 & 1) != 0 &&
         (kTwoSquareResidues >> ((n - sum) % 8 + 8) % 8 & 1) != 0;
}

// The smaller roots worth visiting beside one larger root: those of one
// class mod `step` (4, 2 or 1), or none when `step` is 0.
struct RootClass {
  std::int64_t step = 0, residue = 0;

  std::int64_t firstFrom(std::int64_t y) const { return y + ((residue - y) % step + step) % step; }
  std::int64_t lastTo(std::int64_t y) const { return y - ((y - residue) % step + step) % step; }
};

// The class beside larger roots x' ≡ x (mod 4): the narrowest that holds
// every y mod 4 whose sum with x may match.
RootClass rootClass(std::int64_t n, std::int64_t x) {
  bool any = false;
  for (std::int64_t y = 0; y < 4; ++y) any = any || mayMatch(n, x * x + y * y);
  if (!any) return {};
  for (std::int64_t step : {4, 2}) {
    for (std::int64_t residue = 0; residue < step; ++residue) {
      bool holdsAll = true;
      for (std::int64_t y = 0; y < 4; ++y)
        holdsAll = holdsAll && (y % step == residue || !mayMatch(n, x * x + y * y));
      if (holdsAll) return {step, residue};
    }
  }
  return {1, 0};
}

// Jacobi's count of the signed, ordered representations of n as four
// squares: 8σ(n) for odd n, 24σ(odd part of n) for even n.
double fourSquareRepresentations(std::int64_t n) {
  std::int64_t odd = n;
  while (odd % 2 == 0) odd /= 2;
  std::int64_t sigma = 0;
  for (std::int64_t d = 1; d * d <= odd; d += 2) {
    if (odd % d != 0) continue;
    sigma += d;
    if (d * d != odd) sigma += odd / d;
  }
  return static_cast<double>((n % 2 == 1 ? 8 : 24) * sigma);
}

// Every root of a positive int lies below 46341 = ceil(sqrt(2^31)), so no
// sweep has more rows than that.
constexpr std::int64_t kRootCeiling = 46341;

// Lookups of one row in one window, at most: its j² lie less than a window
// apart, so its js span at most the window's root. The batch is checked once
// a row, with this much room beyond it.
constexpr std::size_t kMostLookupsPerRow = 364;
static_assert((kMostLookupsPerRow - 1) * (kMostLookupsPerRow - 1) >= kMostWindowValues,
              "room for one row");

// The steps of a window (filling the buckets, looking them up and keeping
// the matches) are calls of their own, made once a window (demos/own_call.h).

// Points (k, m) whose t lies in one window of a sweep with `rows` values of
// k: the octant 0 <= m <= k of a ring `window` values wide has area
// π/8 · window, below window / 2; a k holds at most one point beyond its
// stretch of that area, and the stretches add up to the area give or take
// twice the longest, which is at most the window's root.
constexpr std::int64_t mostPoints(std::int64_t window, std::int64_t rows, std::int64_t windowRoot) {
  return window / 2 + 2 * (rows + windowRoot + 1);
}
static_assert(mostPoints(kMostWindowValues, kRootCeiling, kMostLookupsPerRow - 1) < UINT32_MAX,
              "a window's points are counted in 32 bits");

// Decompositions decoded at a time when a row is handed on.
constexpr std::size_t kHandOnBatch = 256;
// Lookups ahead whose row's place in the store is asked for before their
// matches are kept: enough to cover a miss to memory at a few nanoseconds a
// match.
constexpr std::size_t kKeepAhead = 16;

constexpr std::uint32_t kNoPoint = UINT32_MAX;

class Sweep {
 public:
  Sweep(std::int64_t n, const FourSquareRunVisitor& visit, const FourSquareSweepShape& shape)
      : n_(n),
        visit_(visit),
        iFirst_(smallestRoot(n, 4)),
        iLast_(integerSqrt(n)),
        // k is the third largest root: 3k² <= i² + j² + k² <= n.
        kLast_(integerSqrt(n / 3)),
        window_(std::min(shape.windowValues, n + 1)),
        lookupBatch_(shape.lookupBatch),
        plannedFill_(shape.plannedFill),
        store_(shape.storeBytes),
        rows_(static_cast<std::size_t>(iLast_ - iFirst_ + 1)),
        classes_{rootClass(n, 0), rootClass(n, 1), rootClass(n, 2), rootClass(n, 3)},
        mNext_(static_cast<std::size_t>(kLast_ + 1)),
        heads_(static_cast<std::size_t>(window_)),
        filled_(static_cast<std::size_t>(window_ + 63) / 64),
        lookups_(lookupBatch_ + kMostLookupsPerRow) {
    for (std::int64_t i = iFirst_; i <= iLast_; ++i) {
      const std::int64_t rest = n - i * i;
      row(i).jLast = static_cast<std::int32_t>(std::min(i, integerSqrt(rest)));
    }
  }

  // Passes until every row is handed on or `visit_` asks to stop.
  FourSquareSweepStats enumerate() {
    while (first_ <= iLast_ && !stopped_) {
      ++stats_.passes;
      pass();
    }
    while (lo_ <= iLast_) {
      if (!handOnLowest()) break;
    }
    stats_.storePeakBytes = store_.peakBytes();
    return stats_;
  }

 private:
  FourSquareRow& row(std::int64_t i) { return rows_[static_cast<std::size_t>(i - iFirst_)]; }

  // Every i from first_ on, or as many as the store is expected to hold,
  // until all of them are complete. The complete rows of the pass before,
  // which all ended with it, are handed on meanwhile, a share each window
  // over the first half of this pass, so that their lines are written while
  // the sweep goes on rather than all at once; the rows of this pass follow
  // as they complete.
  void pass() {
    planRows();
    for (std::int64_t i = first_; i < hi_; ++i) {
      FourSquareRow& r = row(i);
      // The row's first j is the smallest of its class with 3j² >= n - i²,
      // since j >= k >= m; a row whose class holds no j that may match is
      // complete at once.
      const RootClass& js = classes_[i & 3];
      r.jNext = static_cast<std::int32_t>(js.step == 0 ? r.jLast + 1
                                                       : js.firstFrom(smallestRoot(n_ - i * i, 3)));
      r.first = r.last = kNoChunk;
      r.used = r.kept = 0;
      r.jFirst = r.jKept = r.jNext;
    }
    open_ = first_;
    // A row's smallest u is i² + (n - i²)/3, by the row's first j above;
    // it grows with i, so the pass starts at that of first_.
    std::int64_t uStart = (n_ + 2 * first_ * first_) / 3;
    kTop_ = std::min(kLast_, hi_ - 1);
    // Each k starts from its largest m that some match of the pass can
    // have. The pass's t are at most tTop, so m² <= tTop - k²; and the other
    // three squares are at least max(first², k²) (for i) and k² twice (for
    // j and k), so m² <= n - max(first², k²) - 2k².
    const std::int64_t tTop = n_ - uStart;
    for (std::int64_t k = 0; k <= kTop_; ++k) {
      const std::int64_t kk = k * k;
      const std::int64_t room = std::min(tTop - kk, n_ - std::max(first_ * first_, kk) - 2 * kk);
      const RootClass& ms = classes_[k & 3];
      mNext_[k] = static_cast<std::int32_t>(
          room < 0 || ms.step == 0 ? -1 : ms.lastTo(std::min(k, integerSqrt(room))));
    }
    const std::int64_t halfPass = std::max<std::int64_t>(1, (n_ - uStart) / window_ / 2);
    // Rows of the pass before handed on per window, so that all of them are
    // gone by the middle of this pass.
    const std::int64_t share = (first_ - lo_ + halfPass - 1) / halfPass;
    // The rows below `started` have reached their smallest u: only they may
    // have points in the window.
    std::int64_t started = first_;
    while (open_ < hi_ && !stopped_) {
      ++stats_.windows;
      const std::int64_t uEnd = uStart + window_;
      uEnd_ = uEnd;
      // The window's u run from uStart to uEnd - 1, so its t = n - u run
      // from tFirst to n - uStart.
      const std::int64_t tFirst = n_ - uEnd + 1;
      // A row counts as started once its smallest u lies below uEnd. (One
      // whose smallest u is uEnd itself has no point in this window: starting
      // it here or in the next window comes to the same.)
      while (started < hi_ && (n_ + 2 * started * started) / 3 < uEnd) ++started;
      fillBuckets(tFirst, n_ - uStart);
      lookUp(started, uEnd, tFirst);
      std::fill(filled_.begin(), filled_.end(), 0);
      started = std::min(started, hi_);
      while (open_ < hi_ && row(open_).jNext > row(open_).jLast) ++open_;
      for (std::int64_t r = 0; r < share && lo_ < first_; ++r) {
        if (!handOnLowest()) return;
      }
      while (lo_ >= first_ && lo_ < open_) {
        if (!handOnLowest()) return;
      }
      kTop_ = std::min(kTop_, hi_ - 1);
      uStart = uEnd;
    }
    first_ = hi_;
  }

  // Hands on the lowest row not yet handed on, which is complete; false when
  // `visit_` asked to stop.
  bool handOnLowest() {
    if (stopped_) return false;
    stopped_ = !handOn(lo_);
    ++lo_;
    return !stopped_;
  }

  // Buckets every point (k, m), m <= k <= kTop_, with t = k² + m² in
  // [tFirst, tLast], in descending k, so that each bucket lists its points
  // in ascending k. Each k resumes where the previous window left it. The
  // loop works on local copies: its stores into the buckets could otherwise
  // alias the members and force them to be read again at every point.
  OWN_CALL void fillBuckets(std::int64_t tFirst, std::int64_t tLast) {
    if (tLast < 0) return;
    const std::int64_t kHigh = std::min(kTop_, integerSqrt(tLast));
    // Below kLow every point has t = k² + m² <= 2k² < tFirst.
    const std::int64_t kLow = tFirst > 0 ? smallestRoot(tFirst, 2) : 0;
    std::uint32_t* const heads = heads_.data();
    std::uint64_t* const filled = filled_.data();
    Point* const points = points_.get();
    std::uint32_t count = 0;
    for (std::int64_t k = kHigh; k >= kLow; --k) {
      const std::int64_t kk = k * k, step = classes_[k & 3].step;
      std::int64_t m = mNext_[k];
      for (; m >= 0 && kk + m * m >= tFirst; m -= step) {
        const auto slot = static_cast<std::size_t>(kk + m * m - tFirst);
        // A head is valid only under its bit: the buckets are emptied by
        // clearing the bits alone.
        const std::uint64_t bit = std::uint64_t{1} << (slot % 64);
        // Whether the bucket is empty follows no pattern a branch could
        // learn: the link is chosen by arithmetic.
        const bool empty = (filled[slot / 64] & bit) == 0;
        const std::uint32_t link = heads[slot] | (kNoPoint * static_cast<std::uint32_t>(empty));
        points[count] = {static_cast<std::uint32_t>(k), link};
        heads[slot] = count++;
        filled[slot / 64] |= bit;
      }
      mNext_[k] = static_cast<std::int32_t>(m);
    }
  }

  // Looks up the points (i, j) of the open rows below `started` whose u lies
  // below uEnd, in the order of i and then j, and keeps a match for each
  // point (k, m) of their bucket with k <= j: the matches come in the order
  // of i, j and k, as they are stored.
  OWN_CALL void lookUp(std::int64_t started, std::int64_t uEnd, std::int64_t tFirst) {
    // The bucket of u is that of t = n - u, at slot t - tFirst = tTop - u.
    const std::int64_t tTop = n_ - tFirst;
    std::size_t pending = 0;
    // Only rows below hi_ look up their buckets. A keep that finds the store
    // full may bring hi_ down while a batch is walked; the walk then stops at
    // the first lookup of a dropped row.
    for (std::int64_t i = open_; i < std::min(started, hi_) && !stopped_; ++i) {
      // The batch is walked once it is full; it has room for one more row's
      // lookups beyond lookupBatch_, so a row is never split.
      if (pending >= lookupBatch_) {
        walkBuckets(pending);
        pending = 0;
      }
      FourSquareRow& r = row(i);
      const std::int64_t jLast = r.jLast, step = classes_[i & 3].step;
      std::int64_t j = r.jNext;
      std::int64_t u = i * i + j * j;
      for (; j <= jLast && u < uEnd; u += step * (2 * j + step), j += step) {
        // Every u is written down, but only those with points are kept:
        // whether a bucket is empty cannot be foreseen, so it is not
        // branched on.
        const auto slot = static_cast<std::size_t>(tTop - u);
        lookups_[pending] = {static_cast<std::uint32_t>(slot), packRoots(i, j)};
        pending += filled_[slot / 64] >> (slot % 64) & 1;
      }
      r.jNext = static_cast<std::int32_t>(j);
    }
    walkBuckets(pending);
  }

  // Keeps the matches of the first `count` lookups, up to the rows the store
  // can hold.
  void walkBuckets(std::size_t count) {
    for (std::size_t h = 0; h < count; ++h) {
      if (h + kKeepAhead < count) {
        const std::int64_t iAhead = highRoot(lookups_[h + kKeepAhead].ij);
        if (iAhead < hi_) store_.prefetchTail(row(iAhead));
      }
      const std::uint32_t i = highRoot(lookups_[h].ij), j = lowRoot(lookups_[h].ij);
      if (i >= hi_) return;
      for (std::uint32_t p = heads_[lookups_[h].slot]; p != kNoPoint && points_[p].k <= j;
           p = points_[p].link) {
        if (!keep(i, static_cast<std::int32_t>(j), static_cast<std::uint16_t>(points_[p].k)))
          return;  // row i, and every row after it, was dropped
      }
    }
  }

  // Stores a match of i; false when the store had to drop row i itself.
  bool keep(std::int64_t i, std::int32_t j, std::uint16_t k) {
    FourSquareRow& r = row(i);
    if (j != r.jKept) {
      if (!appendOrDropRows(i, static_cast<std::uint16_t>(kJumpFlag | (j - r.jKept)))) return false;
      r.jKept = j;
    }
    return appendOrDropRows(i, k);
  }

  // Appends a unit to row i while the store is full, handing on the rows of
  // the pass before that still wait, then dropping the highest open rows;
  // false when that reaches i itself, or `visit_` asked to stop. The lowest
  // open row is kept beyond the limit once it is the only one left, so that
  // every pass gets somewhere.
  bool appendOrDropRows(std::int64_t i, std::uint16_t unit) {
    FourSquareRow& r = row(i);
    while (!store_.append(r, unit, lo_ >= first_ && i == open_ && hi_ == i + 1)) {
      if (lo_ < first_) {
        if (!handOnLowest()) return false;
        continue;
      }
      --hi_;
      dropRow(hi_);
      if (hi_ == i) return false;  // hi_ comes down one at a time from above i
    }
    // Only dropRow reads the count, to estimate a row's size for the next
    // plan: a wrong count costs passes, never output.
    ++r.kept;
    return true;
  }

  // Gives row i's matches back to the store, for a later pass to find again,
  // after noting what it is expected to hold in all.
  void dropRow(std::int64_t i) {
    ++stats_.rowsDropped;
    noteExpectedUnits(i);
    store_.release(row(i));
  }

  // The units row i would have had in all, as if they came evenly over its
  // range of u: from the part up to uEnd_ that it kept. A row dropped before
  // it kept anything leaves what an earlier pass noted: noting 0 there (or
  // NaN, before the row's first u) would only make the plan guess from the
  // other rows or run to the last row. A kept unit means a u of the row
  // below uEnd_, so uEnd_ > uFirst holds past the guard.
  void noteExpectedUnits(std::int64_t i) {
    const FourSquareRow& r = row(i);
    if (r.kept == 0) return;
    const std::int64_t uFirst = (n_ + 2 * i * i) / 3,
                       uLast = i * i + std::int64_t{r.jLast} * r.jLast;
    const double share =
        std::min(1.0, static_cast<double>(uEnd_ - uFirst) /
                          static_cast<double>(std::max(uLast - uFirst, std::int64_t{1})));
    expectedUnits_[static_cast<std::size_t>(i - iFirst_)] = r.kept / share;
  }

  // Ends the pass where the store is expected to reach plannedFill_: matches
  // found only to be dropped again are the costliest waste. A row dropped
  // with matches is expected to have what was noted; any other, as many per
  // root of n - i² as the dropped rows had. With nothing known yet the plan
  // comes from the count of decompositions (perRootFromCount). The plan only
  // steers how much each pass takes on: rows beyond the store's room are
  // dropped in any case, so a wrong estimate costs time, never output; a
  // test holds the passes to a bound.
  void planRows() {
    double seen = 0, seenRoots = 0;
    for (std::int64_t i = iFirst_; i <= iLast_; ++i) {
      const double e = expectedUnits_[static_cast<std::size_t>(i - iFirst_)];
      if (e == 0) continue;
      seen += e;
      seenRoots += std::sqrt(static_cast<double>(n_ - i * i));
    }
    if (seen == 0) {
      // Only rows with i² >= n/2 hold their matches to the pass's end: the
      // others are handed on as the sweep goes.
      const double perRoot = perRootFromCount();
      endPassWhereFull(std::max(first_, smallestRoot(n_, 2)), [&](std::int64_t i) {
        return perRoot * std::sqrt(static_cast<double>(n_ - i * i));
      });
      return;
    }
    const double perRoot = seen / seenRoots;
    endPassWhereFull(first_, [&](std::int64_t i) {
      if (classes_[i & 3].step == 0) return 0.0;  // nothing to find
      const double e = expectedUnits_[static_cast<std::size_t>(i - iFirst_)];
      return e != 0 ? e : perRoot * std::sqrt(static_cast<double>(n_ - i * i));
    });
  }

  // Sets hi_ to the first row after first_ where the units expected of the
  // rows from `from` on pass plannedFill_ of the store, or past the last row.
  // Counting the last row matters little: stopping before it leaves that one
  // row to the next pass, running past it only risks dropping it. A row
  // expected to hold nothing ends no pass.
  template <typename ExpectedUnits>
  void endPassWhereFull(std::int64_t from, ExpectedUnits expectedUnits) {
    hi_ = iLast_ + 1;
    const double room = plannedFill_ * static_cast<double>(store_.capacityUnits());
    double expected = 0;
    for (std::int64_t i = from; i <= iLast_; ++i) {
      const double units = expectedUnits(i);
      if (units == 0) continue;
      expected += units;
      // A pass takes at least its first row, whatever that row is expected
      // to hold.
      if (expected > room && i > first_) {
        hi_ = i;
        return;
      }
    }
  }

  // The units a row with i² >= n/2 is expected to hold per root of n - i²,
  // before any row was dropped. A decomposition with distinct, nonzero parts
  // stands for 384 signed, ordered representations, and decompositions lie
  // on their sphere evenly enough that the largest root i of one falls above
  // sqrt(n/2) with density (16/π)·sqrt(n - i²)/n: for 73% of them. A match
  // takes about 1.5 units.
  double perRootFromCount() const {
    constexpr double kPi = 3.14159265358979323846, kUnitsPerMatch = 1.5;
    return kUnitsPerMatch * fourSquareRepresentations(n_) / 384 * 16 / kPi /
           static_cast<double>(n_);
  }

  // Decodes row i's units into runs for `visit_` and gives its chunks back;
  // false when `visit_` asked to stop.
  bool handOn(std::int64_t i) {
    FourSquareRow& r = row(i);
    const auto i32 = static_cast<std::int32_t>(i);
    std::array<std::uint32_t, kHandOnBatch> batch;
    std::size_t size = 0;
    std::uint32_t j = static_cast<std::uint32_t>(r.jFirst);
    bool more = store_.visit(r, [&](const std::uint16_t* units, std::size_t count) {
      for (std::size_t x = 0; x < count; ++x) {
        const std::uint16_t unit = units[x];
        if ((unit & kJumpFlag) != 0) {
          j += unit & ~kJumpFlag;
          continue;
        }
        batch[size++] = packRoots(j, unit);
        if (size == batch.size() && !visit_(i32, batch.data(), std::exchange(size, 0)))
          return false;
      }
      return true;
    });
    if (more && size > 0) more = visit_(i32, batch.data(), size);
    store_.release(r);
    return more;
  }

  // A point (k, m) of the window, in the bucket of its t (which gives m).
  struct Point {
    std::uint32_t k;
    std::uint32_t link;  // the next point of the bucket
  };
  // A point (i, j) whose bucket has points.
  struct Lookup {
    std::uint32_t slot;
    std::uint32_t ij;  // packRoots(i, j)
  };

  const std::int64_t n_;
  const FourSquareRunVisitor& visit_;
  const std::int64_t iFirst_, iLast_, kLast_, window_;
  const std::size_t lookupBatch_;
  const double plannedFill_;
  FourSquareStore store_;
  std::vector<FourSquareRow> rows_;
  const std::array<RootClass, 4> classes_;  // by the larger root mod 4
  std::vector<std::int32_t> mNext_;         // per k: the next m to bucket, going down
  std::vector<std::uint32_t> heads_;
  std::vector<std::uint64_t> filled_;  // a bit per t: has its bucket a point?
  // Room for the most points a window can hold, left untouched until used.
  std::unique_ptr<Point[]> points_{
      new Point[static_cast<std::size_t>(mostPoints(window_, kLast_ + 1, integerSqrt(window_)))]};
  std::vector<Lookup> lookups_;
  // Per row, the units it is expected to hold, once a pass has dropped it.
  std::vector<double> expectedUnits_ = std::vector<double>(rows_.size());
  std::int64_t uEnd_ = 0;         // the end of the current window
  std::int64_t lo_ = iFirst_;     // the first i not yet handed on
  std::int64_t first_ = iFirst_;  // the first i of this pass
  std::int64_t open_ = iFirst_;   // the first i of this pass not yet complete
  std::int64_t hi_ = 0;           // the end of this pass's i's
  bool stopped_ = false;          // `visit_` asked to stop
  std::int64_t kTop_ = 0;         // the largest k the pass's rows can have: below hi_
  FourSquareSweepStats stats_;
};

}  // namespace

FourSquareSweepStats forEachFourSquareRun(std::int32_t n, const FourSquareRunVisitor& visit,
                                          const FourSquareSweepShape& shape) {
  assert(n >= 1);
  assert(shape.windowValues >= 1 && shape.windowValues <= kMostWindowValues);
  assert(shape.storeBytes >= sizeof(FourSquareChunk));
  assert(shape.lookupBatch >= 1);
  assert(shape.plannedFill > 0 && shape.plannedFill <= 1);
  return Sweep(n, visit, shape).enumerate();
}

}  // namespace quorvantile
