// The end-of-input policy, tried everywhere: a session script that visits
// every menu entry, with bad input and pauses, is cut at every byte, and each
// cut must end by itself with its last output line ended.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "app/menu.h"
#include "console/console.h"
#include "console/sink.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace quorvantile {

namespace {

// Small numbers only: every cut replays the whole prefix, under the
// sanitizers too.
const std::string kScript =
    "abc def\n"                                // not a number: one retry
    "0\n\n"                                    // out of range, then the pause
    "1\nx\n7\n8\n888\n\n"                      // Goldbach: a word, an odd number, a split, exit
    "2\n-3\n6\n888 9\n\n"                      // Collatz: negative, a sequence, exit with leftovers
    "3\n4\n88\n\n"                             // Nicomachus: a cube, then the quick exit
    "4\n0\n5\n888\n\n"                         // four squares
    "5\n0\n2000000\n30\ny\n31\nn\n888\nn\n\n"  // sieve: both rejections, yes, no
    "6\n\n\n"                                  // bride and groom: the key, then the pause
    "7\nk\n23\n"      // truth or lie; the pause takes 2, 3 is the next choice
    "88\n\n"          // still in entry 3: its quick exit
    "9\n\n"           // out of range
    "+8 and more\n";  // Exit
const std::string kFarewellEnd = "\tThank you! ~~Bye~~\n\n";

struct Outcome {
  std::string output;
  bool good;
};

Outcome runInProcess(const std::string& input, Encoding encoding) {
  std::stringbuf in(input);
  StringSink out;
  Console console(in, out, encoding);
  runMenu(console);
  console.finish();
  return {out.text(), console.good()};
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The cuts are only worth as much as the script: it must really go through
// every entry, with the input landing where each comment above says.
TEST(SessionCuts, TheWholeScriptVisitsEveryEntryAndReachesExit) {
  Outcome run = runInProcess(kScript, Encoding::kUtf8);
  EXPECT_TRUE(run.good);
  for (const char* sign :
       {"Invalid. Please choose again:", "8=3+5", "6->3->10->5->16->8->4->2->1",
        "64=1+3+5+7+9+11+13+15", "5=2x2+1x1+0x0+0x0", "There are 10 prime number between 1 and 30.",
        "There are 11 prime number between 1 and 31.", "The groom X's bride is B.",
        "Ben is lying."}) {
    EXPECT_NE(run.output.find(sign), std::string::npos) << sign;
  }
  // The first box, and one after each of the ten pauses.
  EXPECT_EQ(count(run.output, "I LOVE C++"), 11u);
  EXPECT_TRUE(endsWith(run.output, kFarewellEnd));
}

TEST(SessionCuts, EveryCutEndsWithItsLastLineEnded) {
  for (Encoding encoding : {Encoding::kUtf8, Encoding::kGbk}) {
    for (std::size_t cut = 0; cut <= kScript.size(); ++cut) {
      Outcome run = runInProcess(kScript.substr(0, cut), encoding);
      EXPECT_TRUE(run.good) << "cut at " << cut;
      ASSERT_FALSE(run.output.empty()) << "cut at " << cut;
      EXPECT_EQ(run.output.back(), '\n')
          << "cut at " << cut << " after \"" << kScript.substr(0, cut) << "\"";
    }
  }
}

TEST(SessionCuts, ACutBeforeExitNeverShowsTheFarewell) {
  std::size_t exitAt = kScript.rfind("+8");
  for (std::size_t cut = 0; cut <= exitAt; ++cut) {
    Outcome run = runInProcess(kScript.substr(0, cut), Encoding::kUtf8);
    EXPECT_EQ(run.output.find("Thank you!"), std::string::npos) << "cut at " << cut;
  }
}

// The built program, when QUORVANTILE_BINARY names it: a sample of cuts piped
// in through the shell, each ending with status 0, nothing on standard error
// and its last line ended.
#ifndef _WIN32
std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(SessionCuts, TheBuiltProgramEndsEveryCutWithStatusZero) {
  const char* binary = std::getenv("QUORVANTILE_BINARY");
  if (binary == nullptr || *binary == '\0') GTEST_SKIP() << "QUORVANTILE_BINARY is not set";
  // Every few bytes, so that the sample lands in every entry of the script.
  constexpr std::size_t kStride = 5;
  const std::string dir = ::testing::TempDir();
  const std::string in = dir + "session_cut.in";
  const std::string out = dir + "session_cut.out";
  const std::string err = dir + "session_cut.err";
  const std::string command =
      std::string("'") + binary + "' < '" + in + "' > '" + out + "' 2> '" + err + "'";
  for (std::size_t cut = 0; cut <= kScript.size(); cut += kStride) {
    {
      std::ofstream file(in, std::ios::binary);
      file << kScript.substr(0, cut);
    }
    int status = std::system(command.c_str());
    ASSERT_NE(status, -1);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "cut at " << cut << ": status " << status;
    std::string output = readFile(out);
    ASSERT_FALSE(output.empty()) << "cut at " << cut;
    EXPECT_EQ(output.back(), '\n') << "cut at " << cut;
    EXPECT_EQ(readFile(err), "") << "cut at " << cut;
  }
  std::remove(in.c_str());
  std::remove(out.c_str());
  std::remove(err.c_str());
}
#endif

}  // namespace

}  // namespace quorvantile
