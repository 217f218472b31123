// The menu loop in process: colours across features, the farewell picture's
// shape, and the loop ending at Exit or at the end of input.
#include "app/menu.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/farewell.h"
#include "console/color.h"
#include "console/console.h"

namespace {

std::string session(const std::string& input) {
  std::stringbuf in(input);
  StringSink out(true);
  Console console(in, out);
  runMenu(console);
  console.finish();
  return out.text();
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(Menu, TheFirstBoxKeepsTheTerminalsColourLaterOnesAreWhite) {
  std::string out = session("6\n\n\n8\n");
  const std::string green = ansiSequence(kGreenOnBlack);
  const std::string white = ansiSequence(kWhiteOnBlack);
  std::size_t firstColour = out.find("\x1b[");
  std::size_t firstBox = out.find("I LOVE C++");
  std::size_t secondBox = out.find("I LOVE C++", firstBox + 1);
  ASSERT_NE(secondBox, std::string::npos);
  EXPECT_GT(firstColour, firstBox);
  // The last colour change before the second box is white.
  EXPECT_EQ(out.rfind("\x1b[", secondBox), out.rfind(white, secondBox));
  // The program ends in white, after the green picture.
  EXPECT_LT(out.rfind(green), out.rfind(white));
  EXPECT_EQ(out.substr(out.rfind(white)), white + "\n\tThank you! ~~Bye~~\n\n");
}

TEST(Menu, OutOfRangeChoicesKeepTheColourInForce) {
  std::string out = session("0\n\n8\n");
  EXPECT_EQ(out.find("\x1b["), out.find(ansiSequence(kGreenOnBlack)));
  EXPECT_LT(out.find("Invalid"), out.find("\x1b["));
}

TEST(Menu, EndsAtExitWithoutReadingFurther) {
  std::stringbuf in("8\n1\n");
  StringSink out;
  Console console(in, out);
  runMenu(console);
  EXPECT_EQ(console.readChar(), '1');
}

TEST(Menu, EndsAtTheEndOfInputWithTheLastLineEnded) {
  for (const char* input : {"", "abc", "0\n", "6\n", "6\n\n", "7\n\nx", "0\n\n"}) {
    std::string out = session(input);
    EXPECT_EQ(out.back(), '\n') << input;
    EXPECT_EQ(count(out, "Thank you"), 0u) << input;
  }
}

TEST(Farewell, EveryLineIsATabAnd59ColumnsOfTheDrawingsFiveCharacters) {
  for (std::size_t row = 0; row < kLady.size(); ++row) {
    std::string_view line = kLady[row];
    ASSERT_EQ(line.size(), 60u) << row;
    EXPECT_EQ(line[0], '\t');
    EXPECT_EQ(line.back(), ' ') << row;
    std::string drawing(line.substr(1));
    if (row == 2) {
      EXPECT_EQ(drawing.substr(31, 10), "I Love C++");
      EXPECT_EQ(drawing.substr(29, 2), "  ");
      drawing.replace(31, 10, 10, ' ');
    }
    if (row == 6) {
      EXPECT_NE(drawing[33], ' ');
      EXPECT_EQ(drawing.substr(29, 4), "    ");
      drawing.replace(33, 26, 26, ' ');
    }
    std::size_t first = drawing.find_first_not_of(' ');
    std::size_t last = drawing.find_last_not_of(' ');
    ASSERT_NE(first, std::string::npos) << row;
    EXPECT_EQ(drawing.find_first_not_of(".:'` "), std::string::npos) << row;
    if (row < 9) {
      EXPECT_GE(first, 9u) << row;
      EXPECT_LE(last, 29u) << row;
    } else {
      EXPECT_GE(first, 2u) << row;
      EXPECT_LE(last, 57u) << row;
    }
  }
}

}  // namespace
