// The %g text of whole numbers: against printf for every value a double
// holds exactly, and exact rounding beyond.
#include "demos/general_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace quorvantile {

namespace {

std::string printfG(std::uint64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

TEST(GeneralFormat, AgreesWithPrintfBelowTwoToThe53) {
  std::vector<std::uint64_t> values;
  for (std::uint64_t v = 0; v <= 1200000; ++v) values.push_back(v);
  // Around every power of ten, and the halfway cases in both directions.
  for (std::uint64_t power = 10; power <= (1ull << 53); power *= 10) {
    for (std::uint64_t d = 0; d <= 60; ++d) {
      values.push_back(power + d);
      values.push_back(power - d);
    }
    for (std::uint64_t head = 100000; head < 1000000 && power >= 10000000; head += 99991) {
      std::uint64_t half = power / 1000000 / 2;
      for (std::uint64_t near = half - 1; near <= half + 1; ++near) {
        values.push_back(head * (power / 1000000) + near);
        values.push_back((head + 1) * (power / 1000000) - near);
      }
    }
  }
  std::mt19937_64 random(20240607);
  for (int r = 0; r < 300000; ++r) {
    std::uint64_t value = random() >> (11 + r % 40);
    values.push_back(value);
  }
  values.push_back(1ull << 53);
  for (std::uint64_t value : values) {
    ASSERT_EQ(formatGeneral(std::to_string(value)), printfG(value)) << value;
  }
}

TEST(GeneralFormat, RoundsLargeValuesExactly) {
  // Exactly half: to the even sixth digit.
  EXPECT_EQ(formatGeneral("12345650000000000000000000000000000"), "1.23456e+34");
  EXPECT_EQ(formatGeneral("12345750000000000000000000000000000"), "1.23458e+34");
  // Just above half, far beyond what a double tells apart.
  EXPECT_EQ(formatGeneral("12345650000000000000000000000000001"), "1.23457e+34");
  EXPECT_EQ(formatGeneral("12345649999999999999999999999999999"), "1.23456e+34");
  // A carry through every digit adds a place.
  EXPECT_EQ(formatGeneral("999999500000000000000000000000000000000000"), "1e+42");
  EXPECT_EQ(formatGeneral("1" + std::string(100, '0')), "1e+100");
  EXPECT_EQ(formatGeneral("000123"), "123");
  EXPECT_EQ(formatGeneral("0"), "0");
}

}  // namespace

}  // namespace quorvantile
