// Four-square decompositions and pass counts against the literal four nested
// loops, the count of representations against Jacobi's formula for larger
// numbers, the fast sweep against the plain search (with a store so small that
// most of it is found again in later passes), and the turn's text at the int
// limit.
#include "demos/four_square.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "console/console.h"
#include "demos/four_square_math.h"
#include "demos/general_format.h"
#include "demos/integer_sqrt.h"
#include "tests/support/literal_loops.h"

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

// The sweep's decompositions, its store limited to `store` bytes.
std::vector<Quad> swept(int n, std::size_t store) {
  std::vector<Quad> quads;
  forEachFourSquareRun(
      n,
      [&](std::int32_t i, const std::uint32_t* entries, std::size_t count) {
        const std::int64_t rest = std::int64_t{n} - std::int64_t{i} * i;
        for (std::size_t e = 0; e < count; ++e) {
          const std::int64_t j = entries[e] >> 16, k = entries[e] & 0xFFFF;
          quads.emplace_back(i, j, k, integerSqrt(rest - j * j - k * k));
        }
        return true;
      },
      store);
  return quads;
}

// The turn's text from the plain search, formatted by the stream.
std::string plainTurnText(int n) {
  std::ostringstream out;
  for (auto [i, j, k, m] : searched(n)) {
    out << "\t\t" << n << "=" << i << "x" << i << "+" << j << "x" << j << "+" << k << "x" << k
        << "+" << m << "x" << m << "\n";
  }
  const auto loopBound = static_cast<std::uint32_t>((std::int64_t{n} + 1) / 2);
  out << "\n\tThe total loop is " << formatGeneral(passCountDigits(loopBound)) << ".\n";
  return out.str();
}

// A store of one chunk holds a single open i: every other i with a match is
// dropped and found again, one pass at a time.
constexpr std::size_t kTinyStore = 1;

TEST(FourSquareSweep, FindsWhatThePlainSearchFinds) {
  for (int n = 1; n <= 3000; ++n) {
    const std::vector<Quad> plain = searched(n);
    ASSERT_EQ(swept(n, kFourSquareStoreBytes), plain) << n;
    ASSERT_EQ(swept(n, kTinyStore), plain) << n;
  }
  // Random entries up to 10^7, spread evenly over the digits: with a store of
  // a few kilobytes, the larger ones take several passes.
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> digits(3.5, 7.0);
  for (int draw = 0; draw < 12; ++draw) {
    const auto n = static_cast<int>(std::pow(10.0, digits(random)));
    const std::vector<Quad> plain = searched(n);
    ASSERT_EQ(swept(n, kFourSquareStoreBytes), plain) << n;
    ASSERT_EQ(swept(n, 8000), plain) << n;
  }
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
  int runs = 0;
  forEachFourSquareRun(1000001,
                       [&](std::int32_t, const std::uint32_t*, std::size_t) { return ++runs < 3; });
  EXPECT_EQ(runs, 3);
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
