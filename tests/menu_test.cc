// The menu loop in process: colours across features, and the loop ending at
// Exit or at the end of input.
#include "app/menu.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "console/color.h"
#include "console/console.h"
#include "tests/support/capture.h"

namespace quorvantile {

namespace {

std::string session(const std::string& input) { return capture(runMenu, Colours::kAsAnsi, input); }

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

}  // namespace

}  // namespace quorvantile
