// The fuzzer's input bound: whatever the bytes, a read that starts anywhere
// in the rewritten input takes a valid number above 999 only from the first
// two long runs of digits, and never above 999999; the bytes that are not
// digits stay where they were.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "fuzz/bounded_input.h"

namespace {

using fuzzbound::boundNumbers;

// What an int read starting at `at` takes, or -1 when the digits there do not
// fit an int (the read fails).
std::int64_t numberAt(const std::string& text, std::size_t at) {
  std::int64_t value = 0;
  for (std::size_t i = at; i < text.size() && fuzzbound::isDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) return -1;
  }
  return value;
}

TEST(FuzzBound, SmallNumbersAndOtherBytesPassUnchanged) {
  const std::string input("8\n888 -12\n\xff\x00y\r\n+999", 19);
  EXPECT_EQ(boundNumbers(input), input);
}

TEST(FuzzBound, LongRunsKeepTheirLengthAndLastDigits) {
  // The first two long runs keep six digits, later ones three.
  EXPECT_EQ(boundNumbers("4\n99999999\n1\n2147483646x4\n1234"),
            "4\n00999999\n1\n0000483646x4\n0234");
  // Too long for an int whole, so its read still fails.
  EXPECT_EQ(boundNumbers("1 2 12345678901234"), "1 2 10000000901234");
}

TEST(FuzzBound, ReadsFromAnyPositionStayWithinTheBound) {
  std::mt19937 random(20240607);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> digitRun(1, 30);
  for (int trial = 0; trial < 200; ++trial) {
    std::string input;
    while (input.size() < 200) {
      int b = byte(random);
      if (b < 100) {
        input.append(static_cast<std::size_t>(digitRun(random)), static_cast<char>('1' + b % 9));
      } else {
        input.push_back(static_cast<char>(b));
      }
    }
    std::string bounded = boundNumbers(input);
    ASSERT_EQ(bounded.size(), input.size());
    int largeRuns = 0;
    bool inLargeRun = false;
    for (std::size_t i = 0; i < input.size(); ++i) {
      if (!fuzzbound::isDigit(input[i])) {
        ASSERT_EQ(bounded[i], input[i]) << "trial " << trial << " at " << i;
        inLargeRun = false;
        continue;
      }
      std::int64_t value = numberAt(bounded, i);
      EXPECT_TRUE(value == -1 || value <= 999999)
          << "trial " << trial << " at " << i << " reads " << value;
      if (value > 999 && !inLargeRun) {
        inLargeRun = true;
        ++largeRuns;
      }
    }
    EXPECT_LE(largeRuns, 2) << "trial " << trial;
  }
}

}  // namespace
