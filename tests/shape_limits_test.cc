// The two searches that take a shape, the Goldbach sieve and the four-square
// sweep, refuse a shape outside its stated limits instead of working on with
// some other one. Their checks are assertions: the bad shapes are tried in
// builds with assertions and death tests (the sanitizer build), and skipped
// elsewhere.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "demos/four_square_store.h"
#include "demos/four_square_sweep.h"
#include "demos/goldbach_pairs.h"

namespace quorvantile {

namespace {

struct BadShape {
  const char* what;
  std::function<void()> run;
};

// The number of splits of 1000 (28) found through `shape`.
int sieve(GoldbachSieveShape shape) {
  int count = 0;
  forEachGoldbachPair(1000, 2, 500, shape, [&](int, int) { return ++count > 0; });
  return count;
}

GoldbachSieveShape sieveWith(std::uint32_t windowBits, std::uint32_t pieceBits,
                             int largestPatternPrime) {
  GoldbachSieveShape shape = kMeasuredSieveShape;
  shape.windowBits = windowBits;
  shape.pieceBits = pieceBits;
  shape.largestPatternPrime = largestPatternPrime;
  return shape;
}

// The number of n's decompositions found through `shape`.
std::size_t sweep(std::int32_t n, FourSquareSweepShape shape) {
  std::size_t count = 0;
  forEachFourSquareRun(
      n,
      [&](std::int32_t, const std::uint32_t*, std::size_t entries) {
        count += entries;
        return true;
      },
      shape);
  return count;
}

FourSquareSweepShape sweepWith(std::int64_t windowValues, std::size_t storeBytes,
                               std::size_t lookupBatch, double plannedFill) {
  return {windowValues, storeBytes, lookupBatch, plannedFill};
}

TEST(ShapeLimits, EveryShapeOutsideItsLimitsIsRefused) {
  constexpr std::size_t kChunk = sizeof(FourSquareChunk);
  // The limits themselves are taken, and give what the program's shapes do.
  EXPECT_EQ(sieve(sieveWith(64, 64, 13)), sieve(kMeasuredSieveShape));
  const std::size_t decompositions = sweep(1000, kMeasuredFourSquareShape);
  EXPECT_EQ(sweep(1000, sweepWith(1, kChunk, 1, 1.0)), decompositions);
  EXPECT_EQ(sweep(1000, sweepWith(kMostWindowValues, kChunk, 1, 0.01)), decompositions);
#if defined(NDEBUG) || !GTEST_HAS_DEATH_TEST
  GTEST_SKIP() << "no assertions or no death tests in this build: bad shapes not tried";
#else
  const BadShape cases[] = {
      {"sieve window of no bits", [] { sieve(sieveWith(0, 64, 13)); }},
      {"sieve window not whole words", [] { sieve(sieveWith(96, 64, 13)); }},
      {"sieve piece of no bits", [] { sieve(sieveWith(128, 0, 13)); }},
      {"sieve piece not whole words", [] { sieve(sieveWith(128, 65, 13)); }},
      {"sieve patterns below 13", [] { sieve(sieveWith(128, 64, 11)); }},
      {"sweep of 0", [] { sweep(0, kMeasuredFourSquareShape); }},
      {"sweep window of no values", [] { sweep(1000, sweepWith(0, kChunk, 1, 0.75)); }},
      {"sweep window too wide",
       [] { sweep(1000, sweepWith(kMostWindowValues + 1, kChunk, 1, 0.75)); }},
      {"sweep store below a chunk", [] { sweep(1000, sweepWith(64, kChunk - 1, 1, 0.75)); }},
      {"sweep batch of no lookups", [] { sweep(1000, sweepWith(64, kChunk, 0, 0.75)); }},
      {"sweep planning to fill nothing", [] { sweep(1000, sweepWith(64, kChunk, 1, 0.0)); }},
      {"sweep planning to overfill", [] { sweep(1000, sweepWith(64, kChunk, 1, 1.5)); }},
  };
  for (const BadShape& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_DEATH(c.run(), "Assertion");
  }
#endif
}

}  // namespace

}  // namespace quorvantile
