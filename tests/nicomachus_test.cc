// Runs of odd numbers adding up to a cube: the turn's text against the
// literal double loop for small cubes, the runs against a search over run
// lengths beyond, and the int limit of the cube.
#include "demos/nicomachus.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "console/console.h"
#include "demos/nicomachus_math.h"
#include "tests/support/literal_loops.h"

namespace quorvantile {

namespace {

TEST(NicomachusTurn, WritesWhatTheLiteralDoubleLoopWrites) {
  for (int n = 1; n <= 20; ++n)
    EXPECT_EQ(turnText(writeNicomachusTurn, n), literalNicomachusTurn(n)) << n;
  EXPECT_EQ(turnText(writeNicomachusTurn, 1), "");
  EXPECT_EQ(turnText(writeNicomachusTurn, 4),
            "\n\t64=1+3+5+7+9+11+13+15\n\n\t64=13+15+17+19\n\n\t64=31+33\n");
}

// Every run length m that divides the cube, tried one by one.
std::vector<OddRun> runsByLength(std::int64_t n) {
  const std::int64_t cube = n * n * n;
  std::vector<OddRun> runs;
  for (std::int64_t m = 2; m * m <= cube; ++m) {
    if (cube % m != 0) continue;
    std::int64_t first = cube / m - m + 1;
    if (first % 2 == 1) runs.push_back({first, m});
  }
  // Longest first, that is smallest first term first.
  return std::vector<OddRun>(runs.rbegin(), runs.rend());
}

bool sameRuns(const std::vector<OddRun>& a, const std::vector<OddRun>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t r = 0; r < a.size(); ++r) {
    if (a[r].first != b[r].first || a[r].count != b[r].count) return false;
  }
  return true;
}

TEST(OddRuns, MatchASearchOverRunLengths) {
  for (std::int64_t n = 1; n <= 400; ++n) {
    std::vector<OddRun> runs = oddRunsOfCube(n);
    ASSERT_TRUE(sameRuns(runs, runsByLength(n))) << n;
    for (const OddRun& run : runs) {
      EXPECT_EQ(run.count * (run.first + run.count - 1), n * n * n);
      EXPECT_LT(run.last(), n * n * n);
    }
  }
  for (std::int64_t n : {997, 1024, 1260, kLargestIntCubeRoot}) {
    ASSERT_TRUE(sameRuns(oddRunsOfCube(n), runsByLength(n))) << n;
  }
}

// The terms of an equation line "\n\tC=a+b+...+z\n", added up.
std::int64_t addUp(const std::string& line, std::int64_t& cube) {
  std::istringstream in(line);
  char sign = 0;
  in >> cube >> sign;
  std::int64_t sum = 0, term = 0;
  while (in >> term) {
    sum += term;
    in >> sign;
  }
  return sum;
}

TEST(NicomachusTurn, LargeCubesGetOneTrueEquationAndTheManySolutionsLine) {
  const std::string many = "\n\tThre are many other solutions.\n";
  for (int n : {51, 53, 888, kLargestIntCubeRoot}) {
    std::string text = turnText(writeNicomachusTurn, n);
    ASSERT_GE(text.size(), many.size());
    EXPECT_EQ(text.substr(text.size() - many.size()), many) << n;
    std::string equation = text.substr(0, text.size() - many.size());
    EXPECT_EQ(equation.find('\n', 1), equation.size() - 1) << n;  // one line
    std::int64_t cube = 0;
    EXPECT_EQ(addUp(equation, cube), static_cast<std::int64_t>(n) * n * n) << n;
    EXPECT_EQ(cube, static_cast<std::int64_t>(n) * n * n);
  }
}

TEST(NicomachusTurn, CubesBeyondTheIntRangeAreRefused) {
  for (int n : {kLargestIntCubeRoot + 1, 100000, INT_MAX}) {
    EXPECT_EQ(turnText(writeNicomachusTurn, n),
              "\n\tThe cube of " + std::to_string(n) +
                  " is too large for this demonstration: please input a number up to "
                  "1290.\n");
  }
}

}  // namespace

}  // namespace quorvantile
