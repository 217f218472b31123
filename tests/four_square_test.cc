// Four-square decompositions and pass counts against the literal four nested
// loops, the count of representations against Jacobi's formula for larger
// numbers, and the turn's text at the int limit.
#include "demos/four_square.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "console/console.h"
#include "demos/four_square_math.h"
#include "demos/general_format.h"
#include "tests/literal_loops.h"

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

TEST(FourSquareTurn, WritesWhatTheLiteralLoopsWrite) {
  for (int n = 1; n <= 200; ++n)
    ASSERT_EQ(turnText(writeFourSquareTurn, n), literalFourSquareTurn(n)) << n;
  EXPECT_EQ(turnText(writeFourSquareTurn, 4),
            "\t\t4=1x1+1x1+1x1+1x1\n\t\t4=2x2+0x0+0x0+0x0\n\n\tThe total loop is 15.\n");
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

TEST(FourSquares, LargerNumbersHaveEveryRepresentationOnceInOrder) {
  std::vector<std::int64_t> numbers;
  for (std::int64_t n = 201; n <= 3000; ++n) numbers.push_back(n);
  for (std::int64_t n : {65535, 65536, 999999, 1000000}) numbers.push_back(n);
  for (std::int64_t n : numbers) {
    std::vector<Quad> quads = searched(n);
    std::int64_t total = 0;
    for (std::size_t q = 0; q < quads.size(); ++q) {
      auto [i, j, k, m] = quads[q];
      ASSERT_TRUE(i >= j && j >= k && k >= m && m >= 0) << n;
      ASSERT_EQ(i * i + j * j + k * k + m * m, n);
      if (q > 0) {
        ASSERT_LT(quads[q - 1], quads[q]) << n;
      }
      total += representations(quads[q]);
    }
    ASSERT_EQ(total, jacobi(n)) << n;
  }
}

TEST(FourSquares, StopsWhenAskedTo) {
  int calls = 0;
  forEachFourSquares(1000000, [&](const FourSquares&) { return ++calls < 3; });
  EXPECT_EQ(calls, 3);
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

TEST(FourSquares, TheLargestIntIsSearchedWithoutOverflow) {
  // The whole search at INT_MAX runs for hours; its first lines are taken.
  int lines = 0;
  forEachFourSquares(INT_MAX, [&](const FourSquares& s) {
    EXPECT_EQ(s.i * s.i + s.j * s.j + s.k * s.k + s.m * s.m, INT_MAX);
    EXPECT_TRUE(s.i >= s.j && s.j >= s.k && s.k >= s.m && s.m >= 0);
    return ++lines < 100;
  });
  EXPECT_EQ(lines, 100);
}

}  // namespace
