// Goldbach: the sieved pairs checked against trial division for every small
// even number and in ranges near the int limit, against a plain sieve over
// whole windows, and the text of a turn with its colours.
#include "demos/goldbach.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "console/color.h"
#include "console/console.h"
#include "demos/goldbach_pairs.h"
#include "tests/support/capture.h"
#include "tests/support/goldbach_reference.h"
#include "tests/support/plain_sieve.h"

namespace quorvantile {

namespace {

using Pairs = GoldbachPairs;

constexpr int kLargestEven = 2147483646;

Pairs sieved(int n, int from, int to) {
  Pairs pairs;
  forEachGoldbachPair(n, from, to, [&](int p, int q) {
    pairs.emplace_back(p, q);
    return true;
  });
  return pairs;
}

Pairs sieved(int n) { return sieved(n, 2, n / 2); }

TEST(GoldbachPairs, MatchTrialDivisionForEveryEvenNumberUpToThreeThousand) {
  for (int n = 2; n <= 3000; n += 2) {
    ASSERT_EQ(sieved(n), pairsByTrialDivision(n, 2, n / 2)) << n;
  }
}

TEST(GoldbachPairs, WorkedExamples) {
  EXPECT_EQ(sieved(2), Pairs{});
  EXPECT_EQ(sieved(4), (Pairs{{2, 2}}));
  EXPECT_EQ(sieved(6), (Pairs{{3, 3}}));
  EXPECT_EQ(sieved(10), (Pairs{{3, 7}, {5, 5}}));
  EXPECT_EQ(sieved(12), (Pairs{{5, 7}}));
  EXPECT_EQ(sieved(100), (Pairs{{3, 97}, {11, 89}, {17, 83}, {29, 71}, {41, 59}, {47, 53}}));
  Pairs pairs = sieved(888);
  ASSERT_EQ(pairs.size(), 37u);
  EXPECT_EQ(pairs.front(), std::make_pair(5, 883));
  EXPECT_EQ(pairs.back(), std::make_pair(439, 449));
}

TEST(GoldbachPairs, NothingForOddOrSmallNumbers) {
  for (int n : {-2147483647 - 1, -4, 0, 1, 2, 3, 7, 2147483647}) {
    EXPECT_EQ(sieved(n), Pairs{}) << n;
  }
}

// Around a million: a twentieth to a tenth of one window of the sieve, and
// many periods of its patterns. 510510 and 1021020 are divisible by every
// prime up to 17, whose two classes then coincide.
TEST(GoldbachPairs, MatchTrialDivisionAroundAMillion) {
  for (int n : {1000000, 1048574, 510510, 1021020}) {
    ASSERT_EQ(sieved(n), pairsByTrialDivision(n, 2, n / 2)) << n;
  }
}

TEST(GoldbachPairs, KnownCountsOfPairs) {
  EXPECT_EQ(sieved(10000).size(), 127u);
  EXPECT_EQ(sieved(1000000).size(), 5402u);
  EXPECT_EQ(sieved(10000000).size(), 38807u);
}

// Near the int limit the summands reach 2^31 - 3 and the sieving primes the
// square root of 2^31; ranges at both ends of the low half and in its middle
// are compared candidate by candidate.
TEST(GoldbachPairs, MatchTrialDivisionNearTheIntLimit) {
  for (int n : {kLargestEven, kLargestEven - 2, kLargestEven - 4, 2147117570, 1073741824}) {
    for (auto [from, to] :
         {std::pair<int, int>{2, 4000}, {n / 2 - 4000, n / 2}, {n / 4 - 1500, n / 4 + 1500}}) {
      Pairs pairs = sieved(n, from, to);
      ASSERT_EQ(pairs, pairsByTrialDivision(n, from, to))
          << n << " in [" << from << ", " << to << "]";
      for (auto [p, q] : pairs) ASSERT_EQ(p + q, n);
    }
  }
}

// A plain sieve over the whole range, as a second reference where trial
// division would take too long.
Pairs plainSieve(int n) { return pairsFromTable(primeFlags(n), n, 2, n / 2); }

// Which of 3, 5 and 7 divide n sets how many numbers of every 210 the sieve
// keeps (15 to 48), and so where its windows of 2^20 bits end: 33554432 is
// divisible by none, 31999998 by 3 alone, 25000000 by 5, 28000000 by 5 and
// 7, 33554430 by all three; each fills two to four windows. 30030000 and
// 9699690 are divisible by several of the primes from 11 on, which are
// struck through repeating patterns.
TEST(GoldbachPairs, MatchAPlainSieveOverTwoToFourWindows) {
  for (int n : {33554432, 31999998, 25000000, 28000000, 33554430, 30030000, 9699690}) {
    ASSERT_EQ(sieved(n), plainSieve(n)) << n;
  }
}

// The primes from 11 on are struck through patterns only while a pattern is
// shorter than the range sieved; a pattern repeats its period up to a whole
// number of words, 64 times over when n leaves an odd number of residues of
// 210. Here the last patterned prime falls in the middle of the pattern
// primes: 37 and 73 for 1048576 and 2000002 (15 residues), 173 for 600000
// (40), 89 for 150150 (48). At 164010 a window ends after the last residue
// of a period of the last class in the table, but before the period's end.
TEST(GoldbachPairs, MatchAPlainSieveWhereOnlySomePrimesArePatterned) {
  for (int n : {1048576, 2000002, 600000, 150150, 164010}) {
    ASSERT_EQ(sieved(n), plainSieve(n)) << n;
  }
}

// A range near the top narrow enough that the pattern primes above 59 are
// struck directly; the patterns of single primes, from 31 on, restart
// within it.
TEST(GoldbachPairs, MatchTrialDivisionOverAPartlyPatternedRangeNearTheTop) {
  const int from = kLargestEven / 2 - 250000, to = from + 200000;
  const Pairs pairs = sieved(kLargestEven, from, to);
  EXPECT_FALSE(pairs.empty());
  EXPECT_EQ(pairs, pairsByTrialDivision(kLargestEven, from, to));
}

// Near the top, a range over three windows gives what its pieces give, a
// tenth of a window each: the sparse classes' cursors, whose periods there
// outgrow a window, carry their strikes across the windows' ends.
TEST(GoldbachPairs, ARangeOverThreeWindowsAgreesWithItsPieces) {
  const int to = kLargestEven / 2, from = to - 13000000;
  Pairs pieces;
  for (int start = from; start <= to; start += 600000) {
    Pairs piece = sieved(kLargestEven, start, std::min(to, start + 599999));
    pieces.insert(pieces.end(), piece.begin(), piece.end());
  }
  EXPECT_EQ(sieved(kLargestEven, from, to), pieces);
}

// The sieving primes near the square root of 2^31 strike less often than
// once per window and begin their multiples at their squares, in the middle
// of a period: ranges around such squares, and from them on, are compared
// candidate by candidate.
TEST(GoldbachPairs, MatchTrialDivisionAroundSquaresOfLargePrimes) {
  for (int q : {32749, 30011, 25013}) {
    const int square = q * q;
    for (auto [from, to] :
         {std::pair<int, int>{square - 3000, square + 3000}, {square, square + 600}}) {
      ASSERT_EQ(sieved(kLargestEven, from, to), pairsByTrialDivision(kLargestEven, from, to))
          << q << " in [" << from << ", " << to << "]";
    }
  }
}

TEST(GoldbachPairs, StopsWhenTheVisitorSaysSo) {
  int visits = 0;
  forEachGoldbachPair(kLargestEven, [&](int, int) { return ++visits < 3; });
  EXPECT_EQ(visits, 3);
}

const std::string kGreen = ansiSequence(kGreenOnBlack);
const std::string kWhite = ansiSequence(kWhiteOnBlack);

std::string body(int n) {
  return capture([&](Console& console) { goldbachBody(console, n); }, Colours::kAsAnsi);
}

TEST(GoldbachBody, PairLinesInWhiteThenTheSummaryInGreen) {
  EXPECT_EQ(body(10), "\t10=3+7\n\t10=5+5\n" + kGreen +
                          "\n\n\tThere are 2 pair(s) of Prime Numbers that add up to 10\n" +
                          kWhite);
  EXPECT_EQ(body(2),
            kGreen + "\n\n\tThere are 0 pair(s) of Prime Numbers that add up to 2\n" + kWhite);
}

TEST(GoldbachBody, WritesTheLargestNumbersAtFullWidth) {
  EXPECT_EQ(capture([](Console& console) {
              GoldbachLineWriter lines(console, kLargestEven);
              const int summands[] = {1073741789, 2147483629};
              lines.write(summands, 2);
              lines.finish();
            }),
            "\t2147483646=1073741789+1073741857\n\t2147483646=2147483629+17\n");
}

TEST(GoldbachConjecture, HeadingInGreenThenTurnsUntil888) {
  const std::string text = capture(GoldbachConjecture, Colours::kAsAnsi, "abc\n10\n888\n");
  const std::string heading =
      kGreen + "\n\t----------------Goldbach's Conjecture-----------------------\n" +
      "\n\tFor any even number N greater than or equal to 4, there exists \n" +
      "\n\tat least one pair of prime numbers p1 and p2 such that N = p1 + p2.\n" + kWhite;
  ASSERT_EQ(text.rfind(heading, 0), 0u);
  EXPECT_NE(text.find("\n\tPlease input a positive even integer:Invalid. Please input a "
                      "positive even integer:\t10=3+7\n"),
            std::string::npos);
  const std::string last = "add up to 888\n" + kWhite;
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

}  // namespace

}  // namespace quorvantile
