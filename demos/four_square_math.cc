// Four squares, two ways. The plain search tries every j and k that can still
// add up and checks the rest for a square: about n^1.5 steps.
//
// The fast enumeration splits a decomposition into u = i² + j² and
// t = k² + m² = n - u, and sweeps u upwards in windows of kWindow values, so
// that no number is ever factored. In each window the points (i, j) of the
// open rows i go into buckets by t, and a bit per t tells which buckets hold
// any; then every point (k, m), m <= k, whose t falls in the window looks up
// its bucket, in ascending k, and each (i, j) there with j >= k is a match.
// A stable sort of the window's matches by point puts them in output order
// (i, then j as u grows, then k). A row i is complete once u has passed
// i² + jLast², which for i² < n/2 happens in the order of i: the lowest
// complete rows are handed on while the sweep goes on. Matches of rows still
// open wait in a bounded store; when it is full the highest open rows are
// dropped and found again by a later pass that starts from the first of them
// (rows with i² > n/2 all end near u = n, so the largest entries take a few
// passes). A pass visits each lattice point it needs once: about n/4 points
// for a pass over every i.
#include "demos/four_square_math.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "demos/integer_sqrt.h"

namespace {

// The smallest r >= 0 with parts·r² >= x: below it, `parts` equal squares no
// larger than r² cannot make up x.
std::int64_t smallestRoot(std::int64_t x, std::int64_t parts) {
  std::int64_t r = integerSqrt(x / parts);
  while (parts * r * r < x) ++r;
  return r;
}

// Values of u per window. Its bucket heads (4 bytes a value), bits and points
// (at most 0.4 a value, 8 bytes each) then fit a 1 MB level-2 cache, while
// the cost of visiting every open row and every k once per window stays
// small beside the points (narrower and wider windows measured slower).
constexpr std::int64_t kWindow = std::int64_t{1} << 17;

// The store keeps a row's matches as 16-bit units: k (below 2^15), preceded
// by kJump plus the step from the previous j whenever j changes (a row's js
// span less than 2^15). About half the matches start a new j, so a match
// takes about 3 bytes.
constexpr std::uint16_t kJump = 0x8000;
// Units per chunk of the store, beside one link: 256 bytes, so that the
// partly filled last chunk of each open row wastes little.
constexpr std::size_t kChunkUnits = 126;
// Chunks allocated at a time: 1 MB.
constexpr std::size_t kBlockChunks = 4096;
// Matches decoded at a time when a row is handed on.
constexpr std::size_t kHandOnBatch = 256;
// Matches ahead whose place in the store is asked for before they are kept:
// enough to cover a miss to memory at a few nanoseconds a match.
constexpr std::size_t kKeepAhead = 16;

constexpr std::uint32_t kNone = UINT32_MAX;

// Asks for the cache line at `p` ahead of its use: a hint, left out where
// the compiler has none.
inline void prefetch(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

// The share of the store a pass plans to fill from what earlier passes saw
// of its rows. The estimates run low (a row's matches come more densely late
// in its range), and a plan that runs over wastes the matches it drops; one
// that stops short can cost a pass. 0.75 measured best at 2^31 - 1 and - 2.
constexpr double kPlannedFill = 0.75;

// Points (i, j) per window stay below 2^kPointBits: about π/8 of the window's
// values, plus one for each row that ends inside it.
constexpr int kPointBits = 18;
constexpr int kRadixBits = 9;  // two passes over the matches of a window
constexpr std::size_t kRadixSize = std::size_t{1} << kRadixBits;
// Lookups that met a bucket with points, gathered before their buckets are
// walked so that the walks' memory accesses overlap: a few kilobytes.
constexpr std::size_t kHitBatch = 2048;
// Lookups of one k in one window, at most: its m² lie less than kWindow
// apart, so its ms span at most sqrt(kWindow). The batch is checked once a
// k, with this much room beyond it.
constexpr std::size_t kMostProbesPerK = 364;
static_assert((kMostProbesPerK - 1) * (kMostProbesPerK - 1) >= kWindow, "room for one k");
constexpr int kSlotShift = 15;  // k <= sqrt(n/3) < 2^15
constexpr std::uint32_t kKMask = (1u << kSlotShift) - 1;
static_assert(kWindow <= std::int64_t{1} << (32 - kSlotShift), "slots must fit beside k");
static_assert(kWindow / 2 + 2 * 46341 < std::int64_t{1} << kPointBits, "window too wide");

struct Chunk {
  std::uint32_t next;
  std::uint16_t units[kChunkUnits];
};

// One i's place in the sweep and its matches so far (a chain of chunks).
struct Row {
  std::int32_t jNext = 0;
  std::int32_t jLast = 0;
  std::uint32_t first = kNone;
  std::uint32_t last = kNone;
  std::uint32_t used = 0;   // units in the last chunk
  std::uint32_t kept = 0;   // units in all
  std::int32_t jFirst = 0;  // where the steps of j start
  std::int32_t jKept = 0;   // the j of the last match kept
};

// Chunks handed out up to a limit, and taken back whole chains at a time.
class Store {
 public:
  explicit Store(std::size_t limit) : limit_(std::max<std::size_t>(limit, 1)) {}

  std::size_t capacity() const { return limit_ * kChunkUnits; }  // in units

  // Appends to `row`; false when the limit is reached and nothing is free.
  bool append(Row& row, std::uint16_t unit, bool beyondLimit) {
    if (row.last != kNone && row.used < kChunkUnits) {
      chunk(row.last).units[row.used++] = unit;
      return true;
    }
    const std::uint32_t taken = take(beyondLimit);
    if (taken == kNone) return false;
    chunk(taken).next = kNone;
    if (row.last == kNone) {
      row.first = taken;
    } else {
      chunk(row.last).next = taken;
    }
    row.last = taken;
    row.used = 0;
    chunk(taken).units[row.used++] = unit;
    return true;
  }

  // Asks for the place of the row's next unit ahead of its append: the rows
  // a window appends to are scattered over the whole store.
  void prefetchTail(const Row& row) const {
    if (row.last != kNone) prefetch(chunk(row.last).units + row.used);
  }

  // Gives the row's chunks back.
  void release(Row& row) {
    if (row.first == kNone) return;
    chunk(row.last).next = free_;
    free_ = row.first;
    row.first = row.last = kNone;
    row.used = 0;
  }

  // Hands the row's units to `visit`, chunk by chunk, in order.
  template <typename Visit>
  bool visit(const Row& row, Visit&& visitChunk) const {
    for (std::uint32_t c = row.first; c != kNone; c = chunk(c).next) {
      // The chain is scattered: its next chunk is asked for while this one
      // is read.
      if (chunk(c).next != kNone) prefetch(&chunk(chunk(c).next));
      const std::size_t count = c == row.last ? row.used : kChunkUnits;
      if (!visitChunk(chunk(c).units, count)) return false;
    }
    return true;
  }

 private:
  Chunk& chunk(std::uint32_t c) { return blocks_[c / kBlockChunks][c % kBlockChunks]; }
  const Chunk& chunk(std::uint32_t c) const { return blocks_[c / kBlockChunks][c % kBlockChunks]; }

  std::uint32_t take(bool beyondLimit) {
    if (free_ != kNone) {
      const std::uint32_t taken = free_;
      free_ = chunk(taken).next;
      return taken;
    }
    if (count_ >= limit_ && !beyondLimit) return kNone;
    // Memory is taken a block at a time as chunks are used: never reserved
    // ahead, never copied.
    if (count_ % kBlockChunks == 0) blocks_.emplace_back(new Chunk[kBlockChunks]);
    return static_cast<std::uint32_t>(count_++);
  }

  std::size_t limit_;
  std::vector<std::unique_ptr<Chunk[]>> blocks_;
  std::size_t count_ = 0;  // chunks handed out so far
  std::uint32_t free_ = kNone;
};

// The sweep over u for one n; see the top of the file.
class Sweep {
 public:
  Sweep(std::int64_t n, const FourSquareRun& run, std::size_t storeBytes)
      : n_(n),
        run_(run),
        iFirst_(smallestRoot(n, 4)),
        iLast_(integerSqrt(n)),
        kLast_(integerSqrt(n / 3)),  // 3k² <= i² + j² + k² <= n
        window_(std::min(kWindow, n + 1)),
        store_(storeBytes / sizeof(Chunk)),
        rows_(static_cast<std::size_t>(iLast_ - iFirst_ + 1)),
        mNext_(static_cast<std::size_t>(kLast_ + 1)),
        heads_(static_cast<std::size_t>(window_)),
        filled_(static_cast<std::size_t>(window_ + 63) / 64) {
    for (std::int64_t i = iFirst_; i <= iLast_; ++i) {
      const std::int64_t rest = n - i * i;
      row(i).jLast = static_cast<std::int32_t>(std::min(i, integerSqrt(rest)));
    }
  }

  void run() {
    while (lo_ <= iLast_) {
      if (!pass()) return;
    }
  }

 private:
  Row& row(std::int64_t i) { return rows_[static_cast<std::size_t>(i - iFirst_)]; }

  // Every i from lo_ on, or as many as the store allows; false when `run_`
  // asked to stop.
  bool pass() {
    planRows();
    for (std::int64_t i = lo_; i < hi_; ++i) {
      Row& r = row(i);
      r.jNext = static_cast<std::int32_t>(smallestRoot(n_ - i * i, 3));  // 3j² >= j²+k²+m²
      r.first = r.last = kNone;
      r.used = r.kept = 0;
      r.jFirst = r.jKept = r.jNext;
    }
    // No u of an i >= lo_ lies below i² + (n - i²)/3, which grows with i.
    std::int64_t u = (n_ + 2 * lo_ * lo_) / 3;
    kTop_ = std::min(kLast_, hi_ - 1);
    // With i >= lo_ and i >= j >= k: m² <= tTop - k² and
    // m² <= n - max(lo², k²) - 2k².
    const std::int64_t tTop = n_ - u;
    for (std::int64_t k = 0; k <= kTop_; ++k) {
      const std::int64_t kk = k * k;
      const std::int64_t room = std::min(tTop - kk, n_ - std::max(lo_ * lo_, kk) - 2 * kk);
      mNext_[k] = room < 0 ? -1 : static_cast<std::int32_t>(std::min(k, integerSqrt(room)));
    }
    std::int64_t started = lo_;  // the i's below it may have a u in the window
    while (lo_ < hi_) {
      const std::int64_t uEnd = u + window_;
      uEnd_ = uEnd;
      const std::int64_t tFirst = n_ - uEnd + 1;  // the window holds t in [tFirst, n - u]
      while (started < hi_ && (n_ + 2 * started * started) / 3 < uEnd) ++started;
      fillBuckets(started, uEnd, tFirst);
      probe(tFirst, n_ - u);
      keepMatches();
      clearBuckets();
      started = std::min(started, hi_);
      while (lo_ < hi_ && row(lo_).jNext > row(lo_).jLast) {
        if (!handOn(lo_)) return false;
        ++lo_;
      }
      kTop_ = std::min(kTop_, hi_ - 1);
      u = uEnd;
    }
    return true;
  }

  // Buckets the points (i, j) of the open rows below `started` whose u lies
  // below uEnd, in the order of i and then j.
  void fillBuckets(std::int64_t started, std::int64_t uEnd, std::int64_t tFirst) {
    for (std::int64_t i = lo_; i < started; ++i) {
      Row& r = row(i);
      std::int64_t j = r.jNext;
      std::int64_t u = i * i + j * j;
      for (; j <= r.jLast && u < uEnd; u += 2 * j + 1, ++j) {
        const auto slot = static_cast<std::size_t>(n_ - u - tFirst);
        // A head is valid only under its bit: the buckets are emptied by
        // clearing the bits alone.
        const std::uint64_t bit = std::uint64_t{1} << (slot % 64);
        const bool empty = (filled_[slot / 64] & bit) == 0;  // rarely known: no branch
        const std::uint32_t link = heads_[slot] | (kNone * static_cast<std::uint32_t>(empty));
        points_[pointCount_] = {static_cast<std::uint32_t>(i << 16 | j), link};
        heads_[slot] = pointCount_++;
        filled_[slot / 64] |= bit;
      }
      r.jNext = static_cast<std::int32_t>(j);
    }
  }

  // Looks up every point (k, m), m <= k <= kTop_, with t = k² + m² in
  // [tFirst, tLast], in ascending k, and collects a match for each point
  // (i, j) of its bucket with j >= k. Each k resumes where the previous
  // window left it.
  void probe(std::int64_t tFirst, std::int64_t tLast) {
    if (tLast < 0) return;
    const std::int64_t kHigh = std::min(kTop_, integerSqrt(tLast));
    // Below it t <= 2k² < tFirst.
    const std::int64_t kLow = tFirst > 0 ? smallestRoot(tFirst, 2) : 0;
    std::size_t hits = 0;
    for (std::int64_t k = kLow; k <= kHigh; ++k) {
      if (hits >= kHitBatch) hits = walkHits(hits);
      const std::int64_t kk = k * k;
      std::int64_t m = mNext_[k];
      for (; m >= 0 && kk + m * m >= tFirst; --m) {
        // Every t is written down, but only those with points are kept:
        // whether a bucket is empty cannot be foreseen, so it is not
        // branched on.
        const auto slot = static_cast<std::size_t>(kk + m * m - tFirst);
        hits_[hits] = static_cast<std::uint32_t>(slot << kSlotShift | k);
        hits += filled_[slot / 64] >> (slot % 64) & 1;
      }
      mNext_[k] = static_cast<std::int32_t>(m);
    }
    walkHits(hits);
  }

  // Collects the matches of the first `hits` lookups; returns 0.
  std::size_t walkHits(std::size_t hits) {
    for (std::size_t h = 0; h < hits; ++h) {
      const std::uint32_t slot = hits_[h] >> kSlotShift, k = hits_[h] & kKMask;
      for (std::uint32_t p = heads_[slot]; p != kNone; p = points_[p].link) {
        if ((points_[p].ij & 0xFFFF) >= k) found_.push_back(std::uint64_t{p} << 32 | k);
      }
    }
    return 0;
  }

  // Stores the matches in the order of i, j and k, up to the rows the store
  // can hold. They were found in ascending k; a stable sort by point, whose
  // order is that of i and j, puts them in order.
  void keepMatches() {
    sortByPoint();
    for (std::size_t f = 0; f < found_.size(); ++f) {
      if (f + kKeepAhead < found_.size()) {
        const std::int64_t iAhead = points_[found_[f + kKeepAhead] >> 32].ij >> 16;
        if (iAhead < hi_) store_.prefetchTail(row(iAhead));
      }
      const std::uint64_t match = found_[f];
      const std::uint32_t ij = points_[match >> 32].ij;
      const std::int64_t i = ij >> 16;
      if (i >= hi_) return;
      if (!keep(i, static_cast<std::int32_t>(ij & 0xFFFF), static_cast<std::uint16_t>(match)))
        return;
    }
  }

  // A stable radix sort of found_ by point, kRadixBits at a time.
  void sortByPoint() {
    sorted_.resize(found_.size());
    for (int shift = 32; shift < 32 + kPointBits; shift += kRadixBits) {
      std::array<std::uint32_t, kRadixSize> start{};
      for (std::uint64_t match : found_) ++start[match >> shift & (kRadixSize - 1)];
      std::uint32_t sum = 0;
      for (std::uint32_t& s : start) sum += std::exchange(s, sum);
      for (std::uint64_t match : found_)
        sorted_[start[match >> shift & (kRadixSize - 1)]++] = match;
      found_.swap(sorted_);
    }
  }

  void clearBuckets() {
    std::fill(filled_.begin(), filled_.end(), 0);
    pointCount_ = 0;
    found_.clear();
  }

  // Stores a match of i, dropping the highest open i's while the store is
  // full; false when that reaches i itself. The lowest open i is kept beyond
  // the limit once it is the only one left, so that every pass gets somewhere.
  bool keep(std::int64_t i, std::int32_t j, std::uint16_t k) {
    Row& r = row(i);
    if (j != r.jKept) {
      if (!put(i, static_cast<std::uint16_t>(kJump | (j - r.jKept)))) return false;
      r.jKept = j;
    }
    return put(i, k);
  }

  bool put(std::int64_t i, std::uint16_t unit) {
    Row& r = row(i);
    while (!store_.append(r, unit, i == lo_ && hi_ == i + 1)) {
      drop(hi_ - 1);
      --hi_;
      if (hi_ == i) return false;
    }
    ++r.kept;
    return true;
  }

  // Gives a row's matches back, noting how many it would have had in all,
  // as if they came evenly over its range of u.
  void drop(std::int64_t i) {
    Row& r = row(i);
    const std::int64_t uFirst = (n_ + 2 * i * i) / 3,
                       uLast = i * i + std::int64_t{r.jLast} * r.jLast;
    if (r.kept > 0 && uEnd_ > uFirst) {
      const double share =
          std::min(1.0, static_cast<double>(uEnd_ - uFirst) /
                            static_cast<double>(std::max(uLast - uFirst, std::int64_t{1})));
      expected_[static_cast<std::size_t>(i - iFirst_)] = r.kept / share;
    }
    store_.release(r);
  }

  // Ends the pass where the store is expected to be full: matches found only
  // to be dropped again are the costliest waste. A row dropped with matches
  // is expected to have what it had, spread evenly over its range of u; any
  // other, as many per root of n - i² as the dropped rows had. With nothing
  // known the pass runs to the last row.
  void planRows() {
    hi_ = iLast_ + 1;
    double seen = 0, seenRoots = 0;
    for (std::int64_t i = iFirst_; i <= iLast_; ++i) {
      const double e = expected_[static_cast<std::size_t>(i - iFirst_)];
      if (e == 0) continue;
      seen += e;
      seenRoots += std::sqrt(static_cast<double>(n_ - i * i));
    }
    if (seen == 0) return;
    const double perRoot = seen / seenRoots;
    const double room = kPlannedFill * static_cast<double>(store_.capacity());
    double expected = 0;
    for (std::int64_t i = lo_; i <= iLast_; ++i) {
      const double e = expected_[static_cast<std::size_t>(i - iFirst_)];
      expected += e != 0 ? e : perRoot * std::sqrt(static_cast<double>(n_ - i * i));
      if (expected > room && i > lo_) {
        hi_ = i;
        return;
      }
    }
  }

  bool handOn(std::int64_t i) {
    Row& r = row(i);
    const auto i32 = static_cast<std::int32_t>(i);
    std::array<std::uint32_t, kHandOnBatch> batch;
    std::size_t size = 0;
    std::uint32_t j = static_cast<std::uint32_t>(r.jFirst);
    bool more = store_.visit(r, [&](const std::uint16_t* units, std::size_t count) {
      for (std::size_t u = 0; u < count; ++u) {
        if ((units[u] & kJump) != 0) {
          j += units[u] & ~kJump;
          continue;
        }
        batch[size++] = j << 16 | units[u];
        if (size == batch.size() && !run_(i32, batch.data(), std::exchange(size, 0))) return false;
      }
      return true;
    });
    if (more && size > 0) more = run_(i32, batch.data(), size);
    store_.release(r);
    return more;
  }

  // A point (i, j) of the window, in the bucket of its t.
  struct Point {
    std::uint32_t ij;    // i << 16 | j
    std::uint32_t link;  // the next point of the bucket
  };

  const std::int64_t n_;
  const FourSquareRun& run_;
  const std::int64_t iFirst_, iLast_, kLast_, window_;
  Store store_;
  std::vector<Row> rows_;
  std::vector<std::int32_t> mNext_;  // per k: the next m to look up, going down
  std::vector<std::uint32_t> heads_;
  std::vector<std::uint64_t> filled_;  // a bit per t: has its bucket a point?
  // Room for the most points a window can hold, left untouched until used.
  std::unique_ptr<Point[]> points_{new Point[std::size_t{1} << kPointBits]};
  std::uint32_t pointCount_ = 0;  // points in the current window
  std::vector<std::uint32_t> hits_ =
      std::vector<std::uint32_t>(kHitBatch + kMostProbesPerK);  // slot << 15 | k
  std::vector<std::uint64_t> found_;                            // point << 32 | k, for each match
  std::vector<std::uint64_t> sorted_;
  std::vector<double> expected_ = std::vector<double>(rows_.size());  // matches of dropped rows
  std::int64_t uEnd_ = 0;      // the end of the current window
  std::int64_t lo_ = iFirst_;  // the first i not yet handed on
  std::int64_t hi_ = 0;        // the end of this pass's i's
  std::int64_t kTop_ = 0;      // no k above it is needed
};

// Digits of an exact whole number, least significant limb first.
constexpr std::uint64_t kLimbBase = 1000000000;
using Limbs = std::vector<std::uint64_t>;

void multiply(Limbs& value, std::uint64_t factor) {
  std::uint64_t carry = 0;
  for (std::uint64_t& limb : value) {
    std::uint64_t product = limb * factor + carry;  // < 1e9·2^32 + carry: fits
    limb = product % kLimbBase;
    carry = product / kLimbBase;
  }
  while (carry != 0) {
    value.push_back(carry % kLimbBase);
    carry /= kLimbBase;
  }
}

void divideExactly(Limbs& value, std::uint64_t divisor) {
  std::uint64_t remainder = 0;
  for (auto limb = value.rbegin(); limb != value.rend(); ++limb) {
    std::uint64_t part = remainder * kLimbBase + *limb;
    *limb = part / divisor;
    remainder = part % divisor;
  }
  while (value.size() > 1 && value.back() == 0) value.pop_back();
}

std::string toDecimal(const Limbs& value) {
  std::string digits = std::to_string(value.back());
  for (auto limb = value.rbegin() + 1; limb != value.rend(); ++limb) {
    std::string part = std::to_string(*limb);
    digits.append(9 - part.size(), '0');
    digits += part;
  }
  return digits;
}

}  // namespace

void forEachFourSquareRun(std::int32_t n, const FourSquareRun& run, std::size_t storeBytes) {
  Sweep(n, run, storeBytes).run();
}

void forEachFourSquaresWithI(std::int64_t n, std::int64_t i,
                             const std::function<bool(const FourSquares&)>& found) {
  const std::int64_t afterI = n - i * i;
  if (afterI < 0) return;
  const std::int64_t jLast = std::min(i, integerSqrt(afterI));
  for (std::int64_t j = smallestRoot(afterI, 3); j <= jLast; ++j) {
    const std::int64_t afterJ = afterI - j * j;
    const std::int64_t kFirst = smallestRoot(afterJ, 2);
    const std::int64_t kLast = std::min(j, integerSqrt(afterJ));
    if (kFirst > kLast) continue;
    // As k grows the rest shrinks, so m only ever moves down.
    std::int64_t m = integerSqrt(afterJ - kFirst * kFirst);
    for (std::int64_t k = kFirst; k <= kLast; ++k) {
      const std::int64_t rest = afterJ - k * k;
      while (m * m > rest) --m;
      if (m * m == rest && !found({i, j, k, m})) return;
    }
  }
}

void forEachFourSquares(std::int64_t n, const std::function<bool(const FourSquares&)>& found) {
  bool more = true;
  const auto keepGoing = [&](const FourSquares& s) { return more = found(s); };
  for (std::int64_t i = smallestRoot(n, 4), iLast = integerSqrt(n); more && i <= iLast; ++i)
    forEachFourSquaresWithI(n, i, keepGoing);
}

std::string passCountDigits(std::uint32_t loopBound) {
  Limbs count{1};
  for (std::uint64_t factor = 1; factor <= 4; ++factor) multiply(count, loopBound + factor);
  divideExactly(count, 24);
  return toDecimal(count);
}
