// The pictures' numbers against what the demonstrations themselves write for
// the same entries: pair lists and counts, Collatz terms and steps,
// decomposition lines, prime counts; and the comet against the pair count of
// every even number it covers.
#include "pictures/picture_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <regex>
#include <string>
#include <vector>

#include "demos/collatz.h"
#include "demos/four_square.h"
#include "demos/goldbach.h"
#include "demos/nicomachus.h"
#include "demos/sieve_bits.h"
#include "tests/support/literal_loops.h"

namespace quorvantile {

namespace {

std::vector<std::string> matches(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
       ++it)
    found.push_back((*it)[1]);
  return found;
}

void collatzTurn(Console& console, int n) { writeCollatzTurn(console, n); }

// The right-hand sides of the lines "\n\tCUBE=A+B+...+Z\n" in a turn's text.
std::vector<std::string> equationSums(const std::string& text) {
  std::vector<std::string> sums;
  for (std::size_t start = text.find("\n\t"); start != std::string::npos;
       start = text.find("\n\t", start + 1)) {
    const std::size_t end = text.find('\n', start + 2);
    const std::string line = text.substr(start + 2, end - start - 2);
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    if (line.find_first_not_of("0123456789") != equals) continue;
    const std::string sum = line.substr(equals + 1);
    if (sum.empty() || sum.find_first_not_of("0123456789+") != std::string::npos) continue;
    sums.push_back(sum);
  }
  return sums;
}

TEST(PictureData, AgreesWithTheTurnsTexts) {
  for (int n : {4, 6, 100, 888, 1000, 9998}) {
    const std::string text = turnText(goldbachBody, n);
    const GoldbachPairs pairs = goldbachPairs(n, 1000);
    std::vector<std::string> smaller;
    for (int p : pairs.smaller) smaller.push_back(std::to_string(p));
    EXPECT_EQ(smaller, matches(text, "=(\\d+)\\+")) << n;
    EXPECT_EQ(matches(text, "There are (\\d+) pair"),
              std::vector<std::string>{std::to_string(pairs.count)});
    EXPECT_TRUE(pairs.counted);
  }
  for (int n : {1, 6, 27, 97, 888, INT_MAX}) {
    const std::string text = turnText(collatzTurn, n);
    const CollatzPath path = collatzPath(n);
    std::vector<std::string> terms = matches(text, "(?:^|>|\\n)(\\d+)(?=->|\\n)");
    ASSERT_EQ(terms.size(), path.terms.size()) << n;
    for (std::size_t k = 0; k < terms.size(); ++k) EXPECT_EQ(std::stod(terms[k]), path.terms[k]);
    EXPECT_EQ(matches(text, "There are (\\d+) steps"),
              std::vector<std::string>{std::to_string(path.steps)});
    EXPECT_EQ(*std::max_element(path.terms.begin(), path.terms.end()),
              static_cast<double>(path.peak));
    EXPECT_EQ(path.terms[static_cast<std::size_t>(path.peakStep)], static_cast<double>(path.peak));
  }
  for (int n : {1, 4, 9, 100, 888, 1000}) {
    const std::vector<std::string> lines =
        matches(turnText(writeFourSquareTurn, n), "\\t\\t\\d+=([^\\n]*)\\n");
    const FourSquareWindow all = fourSquareWindow(n, 0, 100000);
    std::vector<std::string> drawn;
    for (const auto& r : all.roots) {
      drawn.push_back(std::to_string(r.i) + "x" + std::to_string(r.i) + "+" + std::to_string(r.j) +
                      "x" + std::to_string(r.j) + "+" + std::to_string(r.k) + "x" +
                      std::to_string(r.k) + "+" + std::to_string(r.m) + "x" + std::to_string(r.m));
    }
    EXPECT_EQ(drawn, lines) << n;
    EXPECT_EQ(all.count, static_cast<std::int64_t>(lines.size()));
    EXPECT_TRUE(all.complete);
    // A window from the middle is the same decompositions.
    const FourSquareWindow part = fourSquareWindow(n, 1, 2);
    EXPECT_EQ(part.roots.size(), std::min<std::size_t>(2, all.roots.size() - 1)) << n;
    for (std::size_t k = 0; k < part.roots.size(); ++k)
      EXPECT_EQ(part.roots[k].i, all.roots[k + 1].i);
  }
}

TEST(PictureData, CometCountsAreThePairCounts) {
  const GoldbachComet comet = goldbachComet(3001);
  ASSERT_EQ(comet.bound, 3000);
  for (int m = 4; m <= comet.bound; m += 2)
    ASSERT_EQ(comet.counts[static_cast<std::size_t>(m / 2)], goldbachPairs(m, 0).count) << m;
  const GoldbachComet held = goldbachComet(INT_MAX - 1);
  ASSERT_EQ(held.bound, kCometLimit);
  EXPECT_EQ(held.counts.back(), goldbachPairs(kCometLimit, 0).count);
  // The counting limit's edge.
  EXPECT_TRUE(goldbachPairs(kPairCountLimit, 0).counted);
  EXPECT_FALSE(goldbachPairs(kPairCountLimit + 2, 0).counted);
  // Counted by parts, the same count.
  for (int n : {1000000, kPairCountLimit}) {
    const int third = n / 6;
    EXPECT_EQ(goldbachPairCount(n, 2, third) + goldbachPairCount(n, third + 1, 2 * third) +
                  goldbachPairCount(n, 2 * third + 1, n / 2),
              goldbachPairs(n, 0).count)
        << n;
  }
  // Past the counting limit the first pairs still come, uncounted.
  const GoldbachPairs far = goldbachPairs(INT_MAX - 1, 3);
  EXPECT_FALSE(far.counted);
  EXPECT_EQ(far.smaller.size(), 3u);
}

// The runs of p cover 2..n/2 in order, none empty, and each one's count is
// what counting its stretch alone gives; past the counting limit the runs
// come without counts, to be counted by.
TEST(PictureData, GoldbachRunsSplitTheCount) {
  const struct {
    int n, runs;
    std::size_t expectedRuns;
  } cases[] = {{2, 5, 0},   {4, 5, 1},       {6, 5, 2},         {10, 48, 4},
               {100, 7, 7}, {99999, 48, 48}, {1000000, 48, 48}, {kPairCountLimit + 2, 48, 48}};
  for (const auto& c : cases) {
    const GoldbachPairs pairs = goldbachPairs(c.n, 0, c.runs);
    const int half = c.n / 2;
    if (c.expectedRuns == 0) {
      EXPECT_TRUE(pairs.runStarts.empty()) << c.n;
      continue;
    }
    ASSERT_EQ(pairs.runStarts.size(), c.expectedRuns + 1) << c.n;
    EXPECT_EQ(pairs.runStarts.front(), 2);
    EXPECT_EQ(pairs.runStarts.back(), half + 1);
    for (std::size_t k = 0; k + 1 < pairs.runStarts.size(); ++k)
      EXPECT_LT(pairs.runStarts[k], pairs.runStarts[k + 1]);
    if (!pairs.counted) {
      EXPECT_TRUE(pairs.runCounts.empty()) << c.n;
      continue;
    }
    ASSERT_EQ(pairs.runCounts.size(), c.expectedRuns);
    std::int64_t total = 0;
    for (std::size_t k = 0; k < c.expectedRuns; ++k) {
      EXPECT_EQ(pairs.runCounts[k],
                goldbachPairCount(c.n, pairs.runStarts[k], pairs.runStarts[k + 1] - 1))
          << c.n;
      total += pairs.runCounts[k];
    }
    EXPECT_EQ(total, pairs.count) << c.n;
  }
}

// The count stops at its limit exactly: the last decompositions below it are
// still given, and none past it.
TEST(PictureData, FourSquareCountStopsAtItsLimit) {
  const FourSquareWindow edge = fourSquareWindow(INT_MAX, kFourSquareCountLimit - 2, 5);
  EXPECT_EQ(edge.count, kFourSquareCountLimit);
  EXPECT_FALSE(edge.complete);
  EXPECT_EQ(edge.roots.size(), 2u);
  for (const auto& r : edge.roots) {
    EXPECT_EQ(std::int64_t{r.i} * r.i + std::int64_t{r.j} * r.j + std::int64_t{r.k} * r.k +
                  std::int64_t{r.m} * r.m,
              INT_MAX);
  }
}

TEST(PictureData, SieveCountsAndNicomachusSums) {
  for (int n : {1, 2, 100, 1000, 1001, 4093, 99991, 1000000}) {
    auto numbers = sievedUpTo(n);
    const SievePicture picture = sievePicture(n);
    EXPECT_EQ(picture.count, countPrimes(*numbers, n)) << n;
    if (n <= kSieveGridLimit) {
      ASSERT_EQ(picture.smallestFactor.size(), static_cast<std::size_t>(n) + 1);
      for (int k = 2; k <= n; ++k) {
        const int p = picture.smallestFactor[static_cast<std::size_t>(k)];
        EXPECT_TRUE(p >= 2 && k % p == 0 && (*numbers)[p]) << k;
        EXPECT_EQ(p == k, (*numbers)[k]) << k;
        for (int d = 2; d < p; ++d) EXPECT_NE(k % d, 0) << k;
      }
    } else {
      // Every point of the curve, x spread evenly and π(x) counted through x.
      ASSERT_EQ(picture.curveX.size(), static_cast<std::size_t>(kPrimeCurvePoints));
      int primes = 0;
      std::size_t point = 0;
      for (int x = 1; x <= n && point < picture.curveX.size(); ++x) {
        if (x >= 2 && (*numbers)[x]) ++primes;
        while (point < picture.curveX.size() && picture.curveX[point] == x) {
          EXPECT_EQ(static_cast<std::int64_t>(x),
                    std::int64_t{n} * static_cast<std::int64_t>(point + 1) / kPrimeCurvePoints);
          EXPECT_EQ(picture.curvePi[point], primes) << "π(" << x << ")";
          ++point;
        }
      }
      EXPECT_EQ(point, picture.curveX.size()) << n;
      EXPECT_EQ(picture.curvePi.back(), picture.count);
    }
  }
  const NicomachusSums sums = nicomachusSums(kNicomachusLimit);
  ASSERT_EQ(sums.sides.size(), static_cast<std::size_t>(kNicomachusLimit));
  EXPECT_EQ(sums.cubeSums[4], 225);
  EXPECT_EQ(sums.sides[4], 15);
  for (std::size_t k = 0; k < sums.sides.size(); ++k)
    EXPECT_EQ(sums.cubeSums[k], sums.sides[k] * sums.sides[k]);
  EXPECT_TRUE(nicomachusSums(kNicomachusLimit + 1).sides.empty());
}

// The runs the picture names are the turn's own equations, first and last
// term and length, and its band is the run of n odd numbers around n².
TEST(PictureData, NicomachusRunsAreTheTurnsEquations) {
  for (int n : {1, 2, 4, 5, 8, 12, 50, 51, 53, 60, 100, 1000, kNicomachusLimit}) {
    const std::string text = turnText(writeNicomachusTurn, n);
    std::vector<std::string> equations;
    // Split by hand: a regular expression recurses once a character, and the
    // long equations would run it out of stack.
    for (const std::string& line : equationSums(text)) {
      const std::size_t lastPlus = line.rfind('+');
      const std::int64_t first = std::stoll(line);
      const std::int64_t last = std::stoll(line.substr(lastPlus + 1));
      equations.push_back(std::to_string(first) + ".." + std::to_string(last) + "/" +
                          std::to_string((last - first) / 2 + 1));
    }
    const NicomachusSums sums = nicomachusSums(n);
    std::vector<std::string> written;
    for (const OddRun& run : sums.written)
      written.push_back(std::to_string(run.first) + ".." + std::to_string(run.last()) + "/" +
                        std::to_string(run.count));
    EXPECT_EQ(written, equations) << n;
    EXPECT_EQ(sums.more, text.find("Thre are many other solutions.") != std::string::npos) << n;
    const std::int64_t square = std::int64_t{n} * n;
    EXPECT_EQ(sums.band.count, n > 1 ? n : 0) << n;
    if (n > 1) {
      EXPECT_EQ(sums.band.first, square - n + 1) << n;
    }
  }
}

}  // namespace

}  // namespace quorvantile
