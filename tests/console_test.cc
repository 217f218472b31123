// The input layer: number extraction, discarding, skipping, and long lines.
#include "console/console.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "console/color.h"
#include "console/decimal.h"

namespace quorvantile {

namespace {

struct Fixture {
  explicit Fixture(std::string input, bool color = false, bool interactive = false)
      : in(std::move(input)), out(color, interactive), console(in, out) {}
  std::stringbuf in;
  StringSink out;
  Console console;
};

ReadResult readFrom(const std::string& input, int& value) {
  Fixture f(input);
  return f.console.readInt(value);
}

TEST(ReadInt, TakesSignedDecimalNumbersAfterWhiteSpace) {
  int value = -7;
  EXPECT_EQ(readFrom("42\n", value), ReadResult::kOk);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(readFrom(" \t\n\n  +8\n", value), ReadResult::kOk);
  EXPECT_EQ(value, 8);
  EXPECT_EQ(readFrom("08", value), ReadResult::kOk);
  EXPECT_EQ(value, 8);
  EXPECT_EQ(readFrom("-2147483648\n", value), ReadResult::kOk);
  EXPECT_EQ(value, -2147483647 - 1);
  EXPECT_EQ(readFrom("2147483647\n", value), ReadResult::kOk);
  EXPECT_EQ(value, 2147483647);
}

TEST(ReadInt, FailureLeavesTheValueAsItWas) {
  for (const char* input : {"a123\n", "2147483648\n", "-2147483649\n", "99999999999999999999\n",
                            "-\n", "+ 5\n", "\xff\xfe\n", "x"}) {
    int value = 17;
    EXPECT_EQ(readFrom(input, value), ReadResult::kFailed) << input;
    EXPECT_EQ(value, 17) << input;
  }
}

TEST(ReadInt, ReportsTheEndOfInput) {
  for (const char* input : {"", " ", "\n\n \t", "-", "+"}) {
    int value = 3;
    EXPECT_EQ(readFrom(input, value), ReadResult::kEnd) << '"' << input << '"';
    EXPECT_EQ(value, 3);
  }
  // A number that ends the input is still a number.
  int value = 0;
  EXPECT_EQ(readFrom("12", value), ReadResult::kOk);
  EXPECT_EQ(value, 12);
}

TEST(ReadInt, StopsBeforeTheFirstCharacterThatCannotContinueTheNumber) {
  Fixture f("3.7\n");
  int value = 0;
  ASSERT_EQ(f.console.readInt(value), ReadResult::kOk);
  EXPECT_EQ(value, 3);
  EXPECT_EQ(f.console.readChar(), '.');
}

TEST(ReadInt, AnOverlongNumberIsConsumedWhole) {
  Fixture f("123456789012345 6\n");
  int value = 0;
  EXPECT_EQ(f.console.readInt(value), ReadResult::kFailed);
  EXPECT_EQ(f.console.readInt(value), ReadResult::kOk);
  EXPECT_EQ(value, 6);
}

TEST(Discard, DropsOnlyTheRestOfTheLineLastReceived) {
  Fixture f("5 7\n23\n");
  int value = 0;
  ASSERT_EQ(f.console.readInt(value), ReadResult::kOk);
  f.console.discardPending();
  EXPECT_EQ(f.console.readChar(), '2');
  ASSERT_EQ(f.console.readInt(value), ReadResult::kOk);
  EXPECT_EQ(value, 3);
}

TEST(Discard, DropsNothingWhenTheLineWasReadToItsEnd) {
  Fixture f("1\n2\n");
  EXPECT_EQ(f.console.readChar(), '1');
  EXPECT_EQ(f.console.readChar(), '\n');
  f.console.discardPending();
  EXPECT_EQ(f.console.readChar(), '2');
}

TEST(Discard, NeverReadsAheadOrWaits) {
  // A discard at the very start has nothing received, so it drops nothing.
  Fixture f("abc\n");
  f.console.discardPending();
  EXPECT_EQ(f.console.linesReceived(), 0u);
  EXPECT_EQ(f.console.readChar(), 'a');
}

TEST(SkipLine, StopsAfterTheLineEndOrTheLimit) {
  Fixture f("abc\nxyz\n");
  f.console.skipLine(1000);
  EXPECT_EQ(f.console.readChar(), 'x');
  Fixture g(std::string(1500, 'a') + "\n9\n");
  g.console.skipLine(1000);
  int value = 0;
  EXPECT_EQ(g.console.readInt(value), ReadResult::kFailed);
  g.console.discardPending();
  EXPECT_EQ(g.console.readInt(value), ReadResult::kOk);
  EXPECT_EQ(value, 9);
}

TEST(LongLines, ArriveInPiecesOfAtMostTheLineLimit) {
  std::string line(3 * kMaxLine + 10, 'z');
  Fixture f(line + "\n4\n");
  EXPECT_EQ(f.console.readChar(), 'z');
  EXPECT_EQ(f.console.linesReceived(), 1u);
  f.console.discardPending();  // drops the rest of the first piece only
  int count = 0;
  while (f.console.readChar() == 'z') ++count;
  EXPECT_EQ(count, static_cast<int>(2 * kMaxLine + 10));
  EXPECT_EQ(f.console.linesReceived(), 4u);
}

TEST(Output, WritesNumbersAndEndsTheLastLineAtFinish) {
  Fixture f("");
  f.console << "n=" << -2147483647 - 1 << ' ' << 9000000000LL;
  f.console.finish();
  EXPECT_EQ(f.out.text(), "n=-2147483648 9000000000\n");
}

// Every int around each power of ten and at both ends, as the library
// writes it: the listings' own writer counts digits its own way.
TEST(Output, ListingIntsAreWrittenAsTheLibraryWritesThem) {
  std::vector<int> values = {0, -1, std::numeric_limits<int>::max(),
                             std::numeric_limits<int>::min()};
  for (long long power = 1; power <= 1000000000; power *= 10) {
    for (long long v : {power - 1, power, power + 1}) {
      values.push_back(static_cast<int>(v));
      values.push_back(static_cast<int>(-v));
    }
  }
  for (int value : values) {
    char text[kMaxDecimalLength];
    EXPECT_EQ(std::string(text, writeIntDecimal(text, value)), std::to_string(value));
  }
}

// A block as large as a flush is written without being buffered, and keeps
// its place among the writes around it; an open last line is still ended.
TEST(Output, LargeBlocksKeepTheirPlace) {
  const std::string block(std::size_t{1} << 17, 'x');
  Fixture f("");
  f.console << block << "a\n" << block;
  f.console.finish();
  EXPECT_EQ(f.out.text(), block + "a\n" + block + "\n");
}

TEST(Output, FlushesEveryLineEndOnlyWhenInteractive) {
  Fixture quiet("");
  Fixture terminal("", false, true);
  for (Fixture* f : {&quiet, &terminal}) {
    for (int i = 0; i < 3; ++i) {
      f->console << i;
      f->console.endl();
    }
  }
  EXPECT_EQ(quiet.out.flushes(), 0u);
  EXPECT_EQ(terminal.out.flushes(), 3u);
}

TEST(Output, FlushesBeforeEveryRead) {
  Fixture f("7\n");
  f.console << "Please choose:";
  int value = 0;
  f.console.readInt(value);
  EXPECT_EQ(f.out.text(), "Please choose:");
}

TEST(Color, MapsConsoleAttributesToTheirAnsiColours) {
  EXPECT_EQ(ansiSequence(kRedOnBlack), "\x1b[91;40m");
  EXPECT_EQ(ansiSequence(kGreenOnBlack), "\x1b[92;40m");
  EXPECT_EQ(ansiSequence(kWhiteOnBlack), "\x1b[97;40m");
  EXPECT_EQ(ansiSequence(kRedOnWhite), "\x1b[91;107m");
  EXPECT_EQ(ansiSequence(kBlackOnWhite), "\x1b[30;107m");
  EXPECT_EQ(ansiSequence(kGreenOnWhite), "\x1b[92;107m");
  EXPECT_EQ(ansiSequence(0x01), "\x1b[34;40m");  // console blue is ANSI 4
  EXPECT_EQ(ansiSequence(0x04), "\x1b[31;40m");
}

TEST(Color, ChangesFallBetweenTheTextsAroundThem) {
  Fixture f("", true);
  f.console << "a";
  setGreenonBlack(f.console);
  f.console << "b";
  setWhiteonBlack(f.console);
  f.console.finish();
  EXPECT_EQ(f.out.text(), "a\x1b[92;40mb\x1b[97;40m\n");
}

}  // namespace

}  // namespace quorvantile
