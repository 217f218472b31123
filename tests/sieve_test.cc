// The sieve of Eratosthenes: the bits against trial division, the counts,
// the listing layout, and where a visit changes colour (the messages and
// answers are checked by the transcripts, through a pipe).
#include "demos/sieve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "console/color.h"
#include "console/console.h"
#include "demos/goldbach.h"
#include "demos/sieve_bits.h"
#include "tests/support/capture.h"

namespace quorvantile {

namespace {

// Trial division for every number up to the limit, once.
const std::vector<bool>& primality() {
  static const std::vector<bool> prime = [] {
    std::vector<bool> result(kSieveLimit + 1, false);
    for (int k = 2; k <= kSieveLimit; ++k) result[k] = isPrime(k);
    return result;
  }();
  return prime;
}

TEST(Sieve, BitsMatchTrialDivisionUpToTheLimit) {
  auto numbers = sievedUpTo(kSieveLimit);
  EXPECT_FALSE((*numbers)[1]);
  for (int k = 2; k <= kSieveLimit; ++k) ASSERT_EQ((*numbers)[k], primality()[k]) << k;
}

// Small end numbers cut the first words; the others sit at the edges of a
// word, of the repeating pattern (6720 bits) and of the windows (2^18 bits).
// The bits below the end are compared near it and counted all the way.
TEST(Sieve, EveryEndNumberStopsAtItsEndAndLeavesTheBitsAboveSet) {
  std::vector<int> ends;
  for (int endNum = 1; endNum <= 300; ++endNum) ends.push_back(endNum);
  for (int edge : {6720, 13440, 262144, 524288, 786432}) {
    for (int endNum = edge - 65; endNum <= edge + 65; ++endNum) ends.push_back(endNum);
  }
  std::vector<int> primesUpTo(kSieveLimit + 1, 0);
  for (int k = 1; k <= kSieveLimit; ++k) primesUpTo[k] = primesUpTo[k - 1] + primality()[k];
  for (int endNum : ends) {
    auto numbers = sievedUpTo(endNum);
    ASSERT_FALSE((*numbers)[1]);
    for (int k = std::max(2, endNum - 300); k <= endNum; ++k) {
      ASSERT_EQ((*numbers)[k], primality()[k]) << endNum << ": " << k;
    }
    ASSERT_EQ(countPrimes(*numbers, endNum), primesUpTo[endNum]) << endNum;
    for (int k = endNum + 1; k <= endNum + 130; ++k)
      ASSERT_TRUE((*numbers)[k]) << endNum << ": " << k;
  }
}

TEST(Sieve, CountsOfPrimes) {
  const std::pair<int, int> expected[] = {
      {1, 0},    {2, 1},     {3, 2},      {4, 2},          {10, 4},         {49, 15},
      {100, 25}, {888, 154}, {1000, 168}, {999983, 78498}, {999982, 78497}, {kSieveLimit, 78498}};
  for (auto [endNum, count] : expected) {
    EXPECT_EQ(countPrimes(*sievedUpTo(endNum), endNum), count) << endNum;
  }
}

TEST(Sieve, AResetSetGivesTheSameResultAsAFreshOne) {
  auto numbers = sievedUpTo(kSieveLimit);
  resetSieve(*numbers);
  sieveUpTo(*numbers, 49);
  for (int k = 0; k <= 49; ++k) EXPECT_EQ((*numbers)[k], (*sievedUpTo(49))[k]) << k;
  EXPECT_EQ(countPrimes(*numbers, 49), 15);
}

std::string listing(int endNum) {
  return capture(
      [&](Console& console) { writePrimeListing(console, *sievedUpTo(endNum), endNum); });
}

TEST(Sieve, ListingTenToALineWithATabAfterEachPrime) {
  const std::string ten = "2\t3\t5\t7\t11\t13\t17\t19\t23\t29\t\n";
  EXPECT_EQ(listing(30), ten);
  // finish() closes the open last line; the listing itself has no line end.
  EXPECT_EQ(listing(31), ten + "31\t\n");
  EXPECT_EQ(listing(100), ten + "31\t37\t41\t43\t47\t53\t59\t61\t67\t71\t\n73\t79\t83\t89\t97\t\n");
  EXPECT_EQ(listing(1), "");
  EXPECT_EQ(listing(2), "2\t\n");
}

TEST(Sieve, ListingOfAMillionEndsWithTheLargestPrime) {
  std::string text = listing(kSieveLimit);
  // 78498 primes: 7849 full lines and one of eight.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 78498);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7849 + 1);
  EXPECT_EQ(text.substr(text.size() - 8), "999983\t\n");
}

const std::string kGreen = ansiSequence(kGreenOnBlack);
const std::string kRed = ansiSequence(kRedOnBlack);
const std::string kWhite = ansiSequence(kWhiteOnBlack);
const std::string kHeading = "\n\t----------------Sieve of Eratosthenes--------------------\n\n";
const std::string kTurn = kRed + "\n\tNOTICE: Input 888 to Return to the Main Menu.\n" + kWhite +
                          "\n\tStart from 1, please input the end number:";

std::string summary(int count, int endNum) {
  return kGreen + "\n\tThere are " + std::to_string(count) + " prime number between 1 and " +
         std::to_string(endNum) + ".\n\n\tPrint all these prime number(Y/N):" + kWhite;
}

std::string visit(const std::string& input) {
  return capture(SieveEratosthenes, Colours::kAsAnsi, input);
}

// The listing, like the answer, comes in white.
TEST(SieveEratosthenes, HeadingWithoutColourThenGreenSummaryAndQuestion) {
  EXPECT_EQ(visit("10\ny\n888\nN\n"),
            kHeading + kTurn + summary(4, 10) + "2\t3\t5\t7\t" + kTurn + summary(154, 888) + "\n");
}

}  // namespace

}  // namespace quorvantile
