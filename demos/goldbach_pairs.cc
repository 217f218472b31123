#include "demos/goldbach_pairs.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "demos/bit_ops.h"
#include "demos/integer_sqrt.h"
#include "demos/own_call.h"
#include "demos/wheel.h"

namespace quorvantile {

// For even n >= 6 the smaller summand p is odd, and n - p >= n / 2 is larger
// than the square root of n. So n - p is prime exactly when no odd prime q up
// to that root divides it, that is when p is not congruent to n modulo q.
// The sieve therefore runs over the low half only, and each prime q strikes
// two classes there: the multiples of q from q * q on (p composite) and the
// class of n (n - p composite). What survives is exactly the set of smaller
// summands: the high half is sieved in the same pass, mirrored onto the low.
//
// The primes 3, 5 and 7 take part as a wheel: of every 210 numbers only the
// odd ones outside their two classes get a bit at all (between 15 and 48 of
// them, depending on n). The next primes, up to the shape's largest pattern
// prime or fewer when a pattern would outgrow the range, are struck once into
// periodic patterns, which each window is filled from by ANDing whole runs of
// aligned words; the larger primes strike the window bit by bit, the dense
// ones residue by residue, the sparse ones class by class.

namespace {

using Index = std::int64_t;
using Word = std::uint64_t;
// A bit's position in the sieve: at most 2^30 / 210 * 48 bits, well below 2^32.
using BitIndex = std::uint32_t;

std::vector<int> oddPrimesUpTo(int limit) {
  std::vector<int> primes;
  if (limit < 3) return primes;
  std::vector<unsigned char> composite(static_cast<std::size_t>(limit) + 1, 0);
  for (int i = 3; i <= limit; i += 2) {
    if (composite[i]) continue;
    primes.push_back(i);
    for (std::int64_t j = std::int64_t{i} * i; j <= limit; j += 2 * i) composite[j] = 1;
  }
  return primes;
}

// For an odd m >= 3 whose square root is at most the largest of `primes`.
bool oddIsPrime(int m, const std::vector<int>& primes) {
  for (int q : primes) {
    if (std::int64_t{q} * q > m) return true;
    if (m % q == 0) return false;
  }
  return true;
}

// The inverse of a modulo the prime m, a not a multiple of m.
std::int64_t inverse(std::int64_t a, std::int64_t m) {
  std::int64_t t = 0, newT = 1, r = m, newR = a % m;
  while (newR != 0) {
    std::int64_t quotient = r / newR;
    t = std::exchange(newT, t - quotient * newT);
    r = std::exchange(newR, r - quotient * newR);
  }
  return (t % m + m) % m;
}

void clearBit(Word* words, BitIndex bit) {
  words[bit / kWordBits] &= ~(Word{1} << (bit % kWordBits));
}

// Bit g stands for p = (firstBlock + g / width) * modulus + residues[g % width].
struct Wheel {
  Index modulus = 2;
  Index firstBlock = 0;
  std::vector<int> residues;  // ascending
  Index width() const { return static_cast<Index>(residues.size()); }

  // Calls out(g) for each residue with the first bit g at or after block
  // `fromBlock` (counted from firstBlock) whose number is congruent to
  // `target` modulo the prime q; each recurs every q * width bits. One
  // division per residue: this runs for every residue of every prime.
  template <class Out>
  void firstBitsOfClass(int q, int target, Index fromBlock, Out out) const {
    const auto prime = static_cast<std::uint32_t>(q);
    // Block b holds (firstBlock + fromBlock + b) * modulus + residue, so
    // b = (target - residue - origin) / modulus modulo q.
    const auto inverseOfModulus = static_cast<std::uint32_t>(inverse(modulus % q, q));
    const Index origin = (firstBlock + fromBlock) % q * (modulus % q) % q;
    const Index shifted = ((target - origin) % q + q) % q;
    for (Index s = 0; s < width(); ++s) {
      const int residue = residues[static_cast<std::size_t>(s)];
      Index d = shifted - (residue < q ? residue : residue % q);
      if (d < 0) d += q;  // so that 0 <= d < q
      // Both factors are below q < 2^16, so the product fits.
      const std::uint32_t block = static_cast<std::uint32_t>(d) * inverseOfModulus % prime;
      out((fromBlock + block) * width() + s);
    }
  }
};

// Like every sieving prime, a wheel prime takes part only up to the root.
Wheel makeWheel(int n, int root, int low) {
  WheelTurn turn = wheelTurn(n, std::min(root, kLargestWheelPrime));
  Wheel wheel;
  wheel.modulus = turn.modulus;
  wheel.residues = std::move(turn.residues);
  wheel.firstBlock = low / wheel.modulus;
  return wheel;
}

// The bits of a pattern whose period holds `bits` bits: the period repeated
// until it fills whole words.
Index patternLength(Index bits) { return bits / std::gcd(bits, Index{kWordBits}) * kWordBits; }

// Both classes of some small primes over their common period, repeated to a
// whole number of words so that a window is filled from it word by word,
// without shifts.
class Pattern {
 public:
  Pattern(const Wheel& wheel, const std::vector<int>& primes, int n) {
    Index product = 1;
    for (int q : primes) product *= q;
    const Index length = patternLength(product * wheel.width());
    words_.assign(static_cast<std::size_t>(length / kWordBits), ~Word{0});
    for (int q : primes) {
      const Index period = q * wheel.width();
      for (int target : {0, n % q}) {
        wheel.firstBitsOfClass(q, target, 0, [&](Index first) {
          for (Index g = first; g < length; g += period)
            clearBit(words_.data(), static_cast<BitIndex>(g));
        });
      }
    }
  }

  const Word* words() const { return words_.data(); }
  std::size_t size() const { return words_.size(); }

 private:
  std::vector<Word> words_;
};

// The patterns for the wheel's successors up to `largestPatternPrime` among
// `primes`, as few as the size cap allows. A prime whose pattern alone would
// be longer than the `totalBits` to sieve is cheaper struck directly: it and
// the primes after it are left out, and `largest` is set to the last prime
// taken. Both ways strike the same bits, so where the cut falls is a matter
// of speed alone.
std::vector<Pattern> makePatterns(const Wheel& wheel, const std::vector<int>& primes, int n,
                                  const GoldbachSieveShape& shape, Index totalBits, int& largest) {
  std::vector<Pattern> patterns;
  std::vector<int> group;
  Index product = 1;
  largest = 0;
  for (int q : primes) {
    if (q <= kLargestWheelPrime) continue;
    if (q > shape.largestPatternPrime || patternLength(q * wheel.width()) > totalBits) break;
    largest = q;
    // Any grouping strikes the same bits; fewer groups only mean fewer
    // passes over each piece.
    if (!group.empty() && patternLength(product * q * wheel.width()) > shape.patternBitsCap) {
      patterns.emplace_back(wheel, group, n);
      group.clear();
      product = 1;
    }
    group.push_back(q);
    product *= q;
  }
  if (!group.empty()) patterns.emplace_back(wheel, group, n);
  return patterns;
}

// One class of a dense prime: a progression per wheel residue, all with the
// same step in bits.
struct DenseClass {
  BitIndex step;
  std::size_t begin, end;  // its progressions in the table of next bits
};

// One class of a sparse prime q: its first bits in the wheel's residues, in
// ascending order, recur every q * width bits. A cursor walks these strikes
// in order across the windows, so that each window is entered and left once
// per class rather than once per residue: a sparse prime strikes a window
// only a few times per residue, and near the square root of 2^31 its period
// outgrows the window.
struct Cursor {
  Index periodStart;    // the bit of offsets[0] in the current period
  std::uint32_t next;   // the next strike is periodStart + offsets[next]
  std::uint32_t begin;  // its width() offsets in the table, ascending, the first 0
  BitIndex period;      // in bits: q * width()
};

// Strikes the bits of one class in [base, base + end), leaving the cursor at
// its first strike at or beyond base + end. The window begins at bit base.
void strikeClass(Word* words, Cursor& cursor, const BitIndex* table, std::uint32_t width,
                 Index base, BitIndex end) {
  const BitIndex* const offsets = table + cursor.begin;
  const BitIndex period = cursor.period;
  // The start of the current period, relative to the window.
  Index periodStart = cursor.periodStart - base;
  std::uint32_t s = cursor.next;
  if (s != 0) {  // the rest of a period begun in an earlier window or piece
    for (; s < width; ++s) {
      const Index bit = periodStart + offsets[s];
      if (bit >= end) {
        cursor.next = s;
        return;
      }
      clearBit(words, static_cast<BitIndex>(bit));
    }
    s = 0;
    periodStart += period;
  }
  // From here the period's start is a strike itself, at or after base. Whole
  // periods go while one fits before the end (start < end first, so that
  // end - start cannot wrap around); after them less than a period is left
  // before the end, and the loop below strikes what of it lies there.
  auto start = static_cast<BitIndex>(periodStart);
  for (; start < end && period <= end - start; start += period) {
    for (std::uint32_t r = 0; r < width; ++r) clearBit(words, start + offsets[r]);
  }
  for (; s < width && start + offsets[s] < end; ++s) clearBit(words, start + offsets[s]);
  if (s == width) {
    s = 0;
    start += period;
  }
  cursor.periodStart = base + start;
  cursor.next = s;
}

// Maps the bits of one word to summands: the word's first bit is residue
// `first` of block `block`, and bit b then stands for
// block * modulus + summandOffsets_[first + b].
class SummandMap {
 public:
  explicit SummandMap(const Wheel& wheel) : wheel_(wheel) {
    const Index width = wheel.width();
    for (Index t = 0; t < width + kWordBits; ++t) {
      summandOffsets_.push_back(t / width * wheel.modulus +
                                wheel.residues[static_cast<std::size_t>(t % width)]);
    }
  }

  // Positions the map at bit g.
  void seek(Index g) {
    block_ = wheel_.firstBlock + g / wheel_.width();
    first_ = g % wheel_.width();
  }
  void nextWord() {
    first_ += kWordBits;
    // first_ < width afterwards, so first_ + bit, for every bit of a word,
    // stays inside summandOffsets_ (width + kWordBits entries).
    while (first_ >= wheel_.width()) {
      first_ -= wheel_.width();
      ++block_;
    }
  }
  // Bit b of the current word stands for blockStart() + wordOffsets()[b].
  Index blockStart() const { return block_ * wheel_.modulus; }
  const Index* wordOffsets() const { return summandOffsets_.data() + first_; }

 private:
  const Wheel& wheel_;
  std::vector<Index> summandOffsets_;
  Index block_ = 0, first_ = 0;
};

// The smaller summands in [low, high], low > the largest pattern prime, a
// window at a time: each window is a call of its own (demos/own_call.h) and
// hands its summands over in one piece, so that the caller's work per pair
// is out of the sieve's loops.
class SummandSieve {
 public:
  SummandSieve(int n, int low, int high, int root, const std::vector<int>& primes,
               const GoldbachSieveShape& shape)
      : low_(low),
        high_(high),
        shape_(shape),
        wheel_(makeWheel(n, root, low)),
        totalBits_((high / wheel_.modulus - wheel_.firstBlock + 1) * wheel_.width()),
        window_(shape.windowBits / kWordBits),
        map_(wheel_) {
    const Index width = wheel_.width();
    int largestPatterned = 0;
    patterns_ = makePatterns(wheel_, primes, n, shape, totalBits_, largestPatterned);
    phases_.assign(patterns_.size(), 0);
    // Classes with many strikes per piece strike it while it is in the
    // level-1 cache, residue by residue; the others strike the whole window
    // through cursors.
    for (int q : primes) {
      if (q <= std::max(kLargestWheelPrime, largestPatterned)) continue;
      // Each residue's strikes in a class recur every q blocks.
      const auto period = static_cast<BitIndex>(q * width);
      auto addClass = [&](int target, Index start) {
        // A class that starts at high still has high to strike.
        if (start > high) return;
        // Blocks wholly below start hold nothing to strike.
        const Index fromBlock = start / wheel_.modulus - wheel_.firstBlock;
        if (period <= shape.largestDenseStep) {
          const std::size_t from = next_.size();
          wheel_.firstBitsOfClass(q, target, fromBlock, [&](Index first) {
            next_.push_back(static_cast<BitIndex>(first));
          });
          denseClasses_.push_back({period, from, next_.size()});
          return;
        }
        const std::size_t begin = classOffsets_.size();
        wheel_.firstBitsOfClass(q, target, fromBlock, [&](Index first) {
          classOffsets_.push_back(static_cast<BitIndex>(first));
        });
        std::sort(classOffsets_.begin() + static_cast<std::ptrdiff_t>(begin), classOffsets_.end());
        const BitIndex first = classOffsets_[begin];
        for (std::size_t i = begin; i < classOffsets_.size(); ++i) classOffsets_[i] -= first;
        cursors_.push_back({first, 0, static_cast<std::uint32_t>(begin), period});
      };
      addClass(n % q, low);
      // With n % q == 0 the class of n is the multiples themselves, q included.
      if (n % q != 0) addClass(0, std::max<Index>(Index{q} * q, low));
    }
  }

  // Windows cover [0, totalBits); one more, starting at totalBits, would be
  // empty and change nothing.
  bool done() const { return windowStart_ >= totalBits_; }

  // Sieves the next window and leaves its summands, ascending, in `out`.
  OWN_CALL void nextWindow(std::vector<int>& out) {
    out.clear();
    const Index g0 = windowStart_;
    windowStart_ += shape_.windowBits;
    Word* const words = window_.data();
    const BitIndex length =
        static_cast<BitIndex>(std::min<Index>(shape_.windowBits, totalBits_ - g0));
    const BitIndex wordCount = (length + kWordBits - 1) / kWordBits;
    for (BitIndex piece = 0; piece < length; piece += shape_.pieceBits) {
      const BitIndex pieceEnd = std::min(length, piece + shape_.pieceBits);
      const BitIndex firstWord = piece / kWordBits;
      const BitIndex endWord = (pieceEnd + kWordBits - 1) / kWordBits;
      std::fill(words + firstWord, words + endWord, ~Word{0});
      for (std::size_t i = 0; i < patterns_.size(); ++i) {
        // Runs up to the end of the pattern, where it starts over.
        const Word* const pattern = patterns_[i].words();
        std::size_t phase = phases_[i];
        for (BitIndex k = firstWord; k < endWord;) {
          const std::size_t run = std::min<std::size_t>(endWord - k, patterns_[i].size() - phase);
          Word* const out = words + k;
          const Word* const in = pattern + phase;
          for (std::size_t j = 0; j < run; ++j) out[j] &= in[j];
          k += static_cast<BitIndex>(run);
          phase += run;
          if (phase == patterns_[i].size()) phase = 0;
        }
        phases_[i] = phase;
      }
      strikeDense(words, static_cast<BitIndex>(g0), pieceEnd);
    }
    const auto classWidth = static_cast<std::uint32_t>(wheel_.width());
    for (Cursor& cursor : cursors_)
      strikeClass(words, cursor, classOffsets_.data(), classWidth, g0, length);
    // The summands go straight into `out`, sized for every bit left, and the
    // loop keeps its state in locals: stores through a pointer that might
    // alias the members would have them read again at every summand. Bits
    // beyond the last block's end stand for numbers above high.
    std::size_t bits = 0;
    for (BitIndex k = 0; k < wordCount; ++k) bits += static_cast<std::size_t>(popcount(words[k]));
    out.resize(bits);
    int* const summands = out.data();
    std::size_t count = 0;
    const Index low = low_, high = high_;
    map_.seek(g0);
    for (BitIndex k = 0; k < wordCount; ++k, map_.nextWord()) {
      const Index blockStart = map_.blockStart();
      const Index* const offsets = map_.wordOffsets();
      for (Word word = words[k]; word != 0; word &= word - 1) {
        const Index p = blockStart + offsets[countTrailingZeros(word)];
        if (p >= low && p <= high) summands[count++] = static_cast<int>(p);
      }
    }
    out.resize(count);
  }

 private:
  // Bits base + [0, end) of the window.
  void strikeDense(Word* words, BitIndex base, BitIndex end) {
    BitIndex* const next = next_.data();
    for (const DenseClass& dense : denseClasses_) {
      for (std::size_t i = dense.begin; i < dense.end; ++i) {
        BitIndex j = next[i] - base;
        for (; j < end; j += dense.step) clearBit(words, j);
        next[i] = base + j;
      }
    }
  }

  const int low_, high_;
  const GoldbachSieveShape shape_;
  const Wheel wheel_;
  const Index totalBits_;
  std::vector<Pattern> patterns_;
  std::vector<std::size_t> phases_;     // the next word of each pattern
  std::vector<BitIndex> next_;          // each dense progression's next bit
  std::vector<BitIndex> classOffsets_;  // each sparse class's strikes in its period, the first 0
  std::vector<DenseClass> denseClasses_;
  std::vector<Cursor> cursors_;
  std::vector<Word> window_;
  SummandMap map_;
  Index windowStart_ = 0;
};

}  // namespace

// Windows of 2^20 bits (128 KiB) stay in the level-2 cache while every prime
// strikes them; larger windows mean fewer visits of the primes near the
// square root of 2^31, which strike a window rarely: measured best around
// 2^20 on machines with 512 KiB to 1 MiB of level-2 cache. Pieces of 2^18
// bits fit the level-1 cache (32 KiB); a class is dense, and strikes each
// piece, when it strikes a piece at least 16 times. Every odd prime up to
// the largest pattern prime is checked on its own and the sieve starts
// behind it; a pattern costs about the same per word whatever its prime,
// while strikes cost in proportion to 1 / q: measured best between 167 and
// 229. Patterns of 2^19 bits (64 KiB) are read in order from the level-2
// cache.
const GoldbachSieveShape kMeasuredSieveShape = {
    std::uint32_t{1} << 20,         // windowBits
    std::uint32_t{1} << 18,         // pieceBits
    (std::uint32_t{1} << 18) / 16,  // largestDenseStep
    199,                            // largestPatternPrime
    Index{1} << 19,                 // patternBitsCap
};

void forEachGoldbachRun(int n, const GoldbachRunVisitor& visit) {
  forEachGoldbachRun(n, 2, n / 2, kMeasuredSieveShape, visit);
}

void forEachGoldbachPair(int n, const GoldbachVisitor& visit) {
  forEachGoldbachPair(n, 2, n / 2, kMeasuredSieveShape, visit);
}

void forEachGoldbachPair(int n, int from, int to, const GoldbachVisitor& visit) {
  forEachGoldbachPair(n, from, to, kMeasuredSieveShape, visit);
}

void forEachGoldbachPair(int n, int from, int to, const GoldbachSieveShape& shape,
                         const GoldbachVisitor& visit) {
  forEachGoldbachRun(n, from, to, shape, [&](const int* summands, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      if (!visit(summands[i], n - summands[i])) return false;
    }
    return true;
  });
}

void forEachGoldbachRun(int n, int from, int to, const GoldbachSieveShape& shape,
                        const GoldbachRunVisitor& visit) {
  assert(shape.windowBits > 0 && shape.windowBits % kWordBits == 0);
  assert(shape.pieceBits > 0 && shape.pieceBits % kWordBits == 0);
  assert(shape.largestPatternPrime >= 13);
  if (n < 4 || n % 2 != 0 || from > to) return;
  if (n == 4) {
    const int two = 2;
    if (from <= 2 && 2 <= to) visit(&two, 1);
    return;
  }
  // From 6 on the smaller summand is odd: n - 2 is even and above 2.
  const int low = std::max(from, 3);
  const int high = std::min(to, n / 2);
  if (low > high) return;
  const int root = static_cast<int>(integerSqrt(n));
  const std::vector<int> primes = oddPrimesUpTo(root);
  // The patterns strike their own primes too: those, and the wheel's, are
  // checked one by one.
  const int sieveFrom = std::max(low, shape.largestPatternPrime + 1);
  std::vector<int> summands;
  for (int p : oddPrimesUpTo(shape.largestPatternPrime)) {
    if (p < low || p > high) continue;
    if (oddIsPrime(n - p, primes)) summands.push_back(p);
  }
  if (!summands.empty() && !visit(summands.data(), summands.size())) return;
  if (sieveFrom > high) return;
  SummandSieve sieve(n, sieveFrom, high, root, primes, shape);
  while (!sieve.done()) {
    sieve.nextWindow(summands);
    if (!summands.empty() && !visit(summands.data(), summands.size())) return;
  }
}

}  // namespace quorvantile
