// The four-square turn against the literal four nested loops; the sweep, in
// the program's shape and in tiny ones, against the plain search and against
// Jacobi's count of representations; the pass count against a plain sum.
#include "demos/four_square.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "console/console.h"
#include "demos/four_square_count.h"
#include "demos/four_square_entry.h"
#include "demos/four_square_store.h"
#include "demos/four_square_sweep.h"
#include "demos/general_format.h"
#include "demos/integer_sqrt.h"
#include "tests/support/four_square_search.h"
#include "tests/support/literal_loops.h"

namespace quorvantile {

namespace {

using Quad = std::tuple<std::int64_t, std::int64_t, std::int64_t, std::int64_t>;

std::vector<Quad> searched(std::int64_t n) {
  std::vector<Quad> quads;
  forEachFourSquares(n, [&](const FourSquares& s) {
    quads.emplace_back(s.i, s.j, s.k, s.m);
    return true;
  });
  return quads;
}

struct Swept {
  std::vector<Quad> quads;
  FourSquareSweepStats stats;
};

Swept swept(int n, const FourSquareSweepShape& shape) {
  Swept result;
  result.stats = forEachFourSquareRun(
      n,
      [&](std::int32_t i, const std::uint32_t* entries, std::size_t count) {
        const std::int64_t rest = std::int64_t{n} - std::int64_t{i} * i;
        for (std::size_t e = 0; e < count; ++e) {
          const std::int64_t j = highRoot(entries[e]), k = lowRoot(entries[e]);
          result.quads.emplace_back(i, j, k, integerSqrt(rest - j * j - k * k));
        }
        return true;
      },
      shape);
  return result;
}

constexpr std::size_t kChunk = sizeof(FourSquareChunk);

// Shapes from a window of one value, a store of one chunk and a batch of one
// lookup up to the program's: each n up to `exhaustiveUpTo`, then a seeded
// sample up to `sampleUpTo`. The tiny windows come first: a lookup that
// strays past a window's edge meets an empty bit there and misses a match. Every row of these n
// fits the store, so it must stay within its bytes, and the small stores must take more than one
// pass for some of them.
TEST(FourSquareSweep, EveryShapeFindsWhatThePlainSearchFinds) {
  struct Case {
    const char* name;
    FourSquareSweepShape shape;
    int exhaustiveUpTo, sampleUpTo;
  };
  const Case cases[] = {
      {"window 1, one chunk, batch 1", {1, kChunk, 1, 0.75}, 400, 20000},
      {"window 5, two chunks, batch 1", {5, 2 * kChunk, 1, 0.75}, 1500, 20000},
      {"window 64, three chunks, batch 2", {64, 3 * kChunk, 2, 0.75}, 3000, 50000},
      {"window 1000, 4 kB, batch 3", {1000, 16 * kChunk, 3, 0.75}, 3000, 400000},
      {"window 4099, 32 kB, full plans", {4099, 128 * kChunk, 64, 1.0}, 3000, 400000},
      {"program", kMeasuredFourSquareShape, 3000, 400000},
  };
  constexpr int kMostExhaustive = 3000;
  std::vector<std::vector<Quad>> plain(kMostExhaustive + 1);  // each n's plain search, done once
  for (int n = 1; n <= kMostExhaustive; ++n) plain[n] = searched(n);
  std::mt19937_64 random(20261207);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<int> numbers;
    for (int n = 1; n <= c.exhaustiveUpTo; ++n) numbers.push_back(n);
    std::uniform_int_distribution<int> larger(c.exhaustiveUpTo, c.sampleUpTo);
    for (int draw = 0; draw < 5; ++draw) numbers.push_back(larger(random));
    int mostPasses = 0;
    for (int n : numbers) {
      const Swept result = swept(n, c.shape);
      ASSERT_EQ(result.quads, n <= kMostExhaustive ? plain[n] : searched(n)) << n;
      ASSERT_LE(result.stats.storePeakBytes, c.shape.storeBytes) << n;
      mostPasses = std::max(mostPasses, result.stats.passes);
    }
    if (c.shape.storeBytes == kMeasuredFourSquareShape.storeBytes) {
      EXPECT_EQ(mostPasses, 1);
    } else {
      EXPECT_GT(mostPasses, 1);
    }
  }
}

// The plan's promise: a pass fills about plannedFill of the store before it
// stops, so the passes stay within 1.5 times the store's share of the units
// all rows hold (a jump unit per j, one per match), plus one; and it stops
// before the store overflows, so a row is dropped a few times at most, not
// once a pass. An estimate gone wrong shows here: it costs time, never
// output.
TEST(FourSquareSweep, PassesStayNearTheStoresShareOfTheRows) {
  const int n = 4000037;
  std::int64_t units = 0, lastI = -1, lastJ = -1;
  forEachFourSquareRun(n, [&](std::int32_t i, const std::uint32_t* entries, std::size_t count) {
    for (std::size_t e = 0; e < count; ++e) {
      const std::int64_t j = highRoot(entries[e]);
      units += i != lastI || j != lastJ ? 2 : 1;
      lastI = i;
      lastJ = j;
    }
    return true;
  });
  const std::int64_t rows = integerSqrt(n) - integerSqrt(n / 4);
  for (std::size_t chunks : {16, 64, 256}) {
    const FourSquareSweepShape shape = {4096, chunks * kChunk, 16, 0.75};
    const double share = static_cast<double>(units) / (shape.plannedFill * chunks * kChunkUnits);
    const Swept result = swept(n, shape);
    EXPECT_GT(result.stats.passes, 1) << chunks;
    EXPECT_LE(result.stats.passes, 1.5 * share + 1) << chunks;
    EXPECT_LE(result.stats.rowsDropped, 4 * rows) << chunks;
  }
}

// Signed, ordered representations of n as four squares: 8σ(n) for odd n,
// 24σ(odd part of n) for even n.
std::int64_t jacobi(std::int64_t n) {
  std::int64_t odd = n;
  while (odd % 2 == 0) odd /= 2;
  std::int64_t sigma = 0;
  for (std::int64_t d = 1; d * d <= odd; ++d) {
    if (odd % d != 0) continue;
    sigma += d;
    if (d * d != odd) sigma += odd / d;
  }
  return (n % 2 == 1 ? 8 : 24) * sigma;
}

// How many signed, ordered representations one decomposition stands for.
std::int64_t representations(const Quad& q) {
  std::int64_t parts[4] = {std::get<0>(q), std::get<1>(q), std::get<2>(q), std::get<3>(q)};
  std::int64_t count = 24;  // 4!, divided below for equal parts
  std::int64_t run = 1;
  for (int p = 1; p <= 4; ++p) {
    if (p < 4 && parts[p] == parts[p - 1]) {
      ++run;
      continue;
    }
    for (std::int64_t f = 2; f <= run; ++f) count /= f;
    run = 1;
  }
  for (std::int64_t part : parts) {
    if (part != 0) count *= 2;
  }
  return count;
}

// Apart from the plain search: every decomposition valid, in order, and all
// of them there by Jacobi's count, with a store that forces several passes.
TEST(FourSquareSweep, LargerNumbersHaveEveryRepresentationOnceInOrder) {
  const FourSquareSweepShape smallStore = {509, 8 * kChunk, 16, 0.75};
  int mostPasses = 0;
  for (int n : {65535, 65536, 999999, 1000000, 4000037}) {
    const Swept result = swept(n, smallStore);
    mostPasses = std::max(mostPasses, result.stats.passes);
    std::int64_t total = 0;
    for (std::size_t q = 0; q < result.quads.size(); ++q) {
      auto [i, j, k, m] = result.quads[q];
      ASSERT_TRUE(i >= j && j >= k && k >= m && m >= 0) << n;
      ASSERT_EQ(i * i + j * j + k * k + m * m, n);
      if (q > 0) {
        ASSERT_LT(result.quads[q - 1], result.quads[q]) << n;
      }
      total += representations(result.quads[q]);
    }
    ASSERT_EQ(total, jacobi(n)) << n;
  }
  EXPECT_GT(mostPasses, 1);
}

TEST(FourSquareSweep, StopsWhenAskedTo) {
  int runs = 0;
  forEachFourSquareRun(1000001,
                       [&](std::int32_t, const std::uint32_t*, std::size_t) { return ++runs < 3; });
  EXPECT_EQ(runs, 3);
}

// The turn's text from the plain search and a total worked out in doubles.
std::string plainTurnText(int n) {
  std::ostringstream out;
  for (auto [i, j, k, m] : searched(n)) {
    out << "\t\t" << n << "=" << i << "x" << i << "+" << j << "x" << j << "+" << k << "x" << k
        << "+" << m << "x" << m << "\n";
  }
  const double bound = (n + 1) / 2;
  char total[32];
  std::snprintf(total, sizeof total, "%g",
                (bound + 1) * (bound + 2) * (bound + 3) * (bound + 4) / 24);
  out << "\n\tThe total loop is " << total << ".\n";
  return out.str();
}

TEST(FourSquareTurn, WritesWhatThePlainSearchFinds) {
  // Thousands of lines each, so that they are handed on in several blocks;
  // 2^20 - 1 and 2^20 have the longest and shortest lists of their size.
  for (int n : {65535, 999999, 1048575, 1048576, 4000037})
    ASSERT_EQ(turnText(writeFourSquareTurn, n), plainTurnText(n)) << n;
}

TEST(FourSquareTurn, WritesWhatTheLiteralLoopsWrite) {
  for (int n = 1; n <= 200; ++n)
    ASSERT_EQ(turnText(writeFourSquareTurn, n), literalFourSquareTurn(n)) << n;
  EXPECT_EQ(turnText(writeFourSquareTurn, 4),
            "\t\t4=1x1+1x1+1x1+1x1\n\t\t4=2x2+0x0+0x0+0x0\n\n\tThe total loop is 15.\n");
}

TEST(PassCount, IsTheNumberOfQuadruplesUnderTheBound) {
  for (std::uint32_t bound = 0; bound <= 120; ++bound) {
    std::uint64_t count = 0;
    for (std::uint32_t i = 0; i <= bound; ++i) {
      for (std::uint32_t j = 0; j <= i; ++j) count += (j + 1) * (j + 2) / 2;
    }
    ASSERT_EQ(passCountDigits(bound), std::to_string(count)) << bound;
  }
  // 1073741825·1073741826·1073741827·1073741828 / 24, worked out apart.
  EXPECT_EQ(passCountDigits(kLargestLoopBound), "55384500340179846087910938508263425");
  EXPECT_EQ(formatGeneral(passCountDigits(kLargestLoopBound)), "5.53845e+34");
}

}  // namespace

}  // namespace quorvantile
