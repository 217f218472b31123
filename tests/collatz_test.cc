// Collatz sequences against the plain 3t+1 rule, at the int limit, at the
// edge of the 64-bit range, and the turn's text.
#include "demos/collatz.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/color.h"
#include "console/console.h"
#include "demos/collatz_math.h"
#include "tests/support/capture.h"

namespace quorvantile {

namespace {

std::vector<std::int64_t> plainSequence(std::int64_t t) {
  std::vector<std::int64_t> terms{t};
  while (t != 1) {
    t = t % 2 == 0 ? t / 2 : 3 * t + 1;
    terms.push_back(t);
  }
  return terms;
}

std::vector<std::int64_t> walked(std::int64_t start, CollatzWalk* walk = nullptr) {
  std::vector<std::int64_t> terms;
  CollatzWalk result = walkCollatz(start, [&](std::int64_t t) { terms.push_back(t); });
  if (walk != nullptr) *walk = result;
  return terms;
}

TEST(CollatzWalk, FollowsThePlainRuleForSmallStartsAndTheIntLimit) {
  std::vector<std::int64_t> starts;
  for (std::int64_t n = 1; n <= 600; ++n) starts.push_back(n);
  // 113383 is the first start that climbs above INT_MAX.
  for (std::int64_t n : {113383, 159487, 2147483646, 2147483647}) starts.push_back(n);
  for (std::int64_t n : starts) {
    CollatzWalk walk;
    std::vector<std::int64_t> terms = walked(n, &walk);
    std::vector<std::int64_t> expected = plainSequence(n);
    ASSERT_EQ(terms, expected) << n;
    EXPECT_EQ(walk.steps, static_cast<std::int64_t>(expected.size()) - 1) << n;
    EXPECT_FALSE(walk.leftRange);
    EXPECT_EQ(walk.last, 1);
  }
  CollatzWalk walk;
  walked(27, &walk);
  EXPECT_EQ(walk.steps, 111);
  walked(888, &walk);
  EXPECT_EQ(walk.steps, 72);
}

TEST(CollatzWalk, StopsBeforeATermWouldLeaveThe64BitRange) {
  const std::int64_t tooLarge = kLargestTripledTerm + 1;  // odd: 3t+1 > INT64_MAX
  ASSERT_EQ(tooLarge % 2, 1);
  for (std::int64_t start : {tooLarge, INT64_MAX, 2 * tooLarge}) {
    CollatzWalk walk;
    std::vector<std::int64_t> terms = walked(start, &walk);
    EXPECT_TRUE(walk.leftRange) << start;
    EXPECT_EQ(walk.last, terms.back());
    EXPECT_EQ(walk.steps, static_cast<std::int64_t>(terms.size()) - 1);
    EXPECT_EQ(walk.last % 2, 1);
    EXPECT_GT(walk.last, kLargestTripledTerm);
  }

  // The largest odd term that may still be tripled is.
  const std::int64_t lastTripled = kLargestTripledTerm - 1;
  ASSERT_EQ(lastTripled % 2, 1);
  CollatzWalk walk;
  std::vector<std::int64_t> terms = walked(lastTripled, &walk);
  ASSERT_GE(terms.size(), 2u);
  EXPECT_EQ(terms[1], INT64_MAX - 3);
  for (std::size_t t = 1; t < terms.size(); ++t) {
    std::int64_t previous = terms[t - 1];
    if (previous % 2 == 0) {
      EXPECT_EQ(terms[t], previous / 2);
    } else {
      EXPECT_EQ((terms[t] - 1) / 3, previous);
    }
  }
}

std::string turn(std::int64_t n) {
  return capture([&](Console& console) { writeCollatzTurn(console, n); }, Colours::kAsAnsi);
}

const std::string kGreen = ansiSequence(kGreenOnBlack);
const std::string kWhite = ansiSequence(kWhiteOnBlack);

TEST(CollatzTurn, WritesTheSequenceLineThenTheGreenSummary) {
  EXPECT_EQ(turn(6), "6->3->10->5->16->8->4->2->1\n" + kGreen +
                         "\n\n\tThere are 8 steps to get to 1 for 6.\n" + kWhite);
  EXPECT_EQ(turn(1), "1\n" + kGreen + "\n\n\tThere are 0 steps to get to 1 for 1.\n" + kWhite);
}

TEST(CollatzTurn, SaysSoWhenTheSequenceLeavesTheRange) {
  const std::int64_t start = kLargestTripledTerm + 1;
  EXPECT_EQ(turn(start), std::to_string(start) + "\n\n\tThe term after " + std::to_string(start) +
                             " is too large to compute: the sequence stops here.\n");
}

}  // namespace

}  // namespace quorvantile
