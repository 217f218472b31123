// The demonstration frame, driven by a made-up row: the turn structure, the
// invalid messages, the skip after a good number, the exits.
#include "demos/frame.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "console/color.h"
#include "console/console.h"
#include "tests/support/capture.h"

namespace quorvantile {

namespace {

const std::string kRed = ansiSequence(kRedOnBlack);
const std::string kWhite = ansiSequence(kWhiteOnBlack);

struct Visit {
  std::string output;
  std::vector<int> bodies;
  int turnStarts = 0;
  std::vector<std::pair<int, bool>> invalids;  // (number, fresh line)
};

bool positive(int n) { return n > 0; }

Visit visitFrame(const std::string& input, int quickExit = 0, bool chooseMessage = false) {
  static Visit* current = nullptr;
  Visit result;
  current = &result;
  DemoRow row{Notice{"\n\tNOTICE"}, Prompt{"\n\tNumber:"}, positive, Rejection{"Again:"},
              quickExit};
  if (chooseMessage) {
    row.rejection = Rejection([](Console& console, int n, bool freshLine) {
      current->invalids.emplace_back(n, freshLine);
      console << "Chosen:";
    });
  }
  result.output = capture(
      [&](Console& console) {
        runDemonstration(console, row,
                         {[&] { ++result.turnStarts; },
                          [&](int n) {
                            result.bodies.push_back(n);
                            console << "[" << n << "]";
                          }});
      },
      Colours::kAsAnsi, input);
  return result;
}

const std::string kTurn = kRed + "\n\tNOTICE\n" + kWhite + "\n\tNumber:";

TEST(Frame, RunsTurnsUntilTheExitValueHasHadItsTurn) {
  Visit v = visitFrame("5\n888\n7\n");
  EXPECT_EQ(v.bodies, (std::vector<int>{5, 888}));
  EXPECT_EQ(v.turnStarts, 2);
  EXPECT_EQ(v.output, kTurn + "[5]" + kTurn + "[888]\n");
}

TEST(Frame, RejectedEntriesGetTheMessageAndANewReadWithoutANewPrompt) {
  Visit v = visitFrame("abc def\n-1\n0\n\n2147483648\n4\n888\n");
  EXPECT_EQ(v.bodies, (std::vector<int>{4, 888}));
  EXPECT_EQ(v.output, kTurn + "Again:Again:Again:Again:[4]" + kTurn + "[888]\n");
}

TEST(Frame, DropsTheRestOfTheLineAfterAGoodNumber) {
  Visit v = visitFrame("12abc 7\n888 9\n");
  EXPECT_EQ(v.bodies, (std::vector<int>{12, 888}));
}

TEST(Frame, TheSkipAfterAGoodNumberStopsAtItsLimit) {
  // The rest of the line beyond the limit meets the next read and is rejected.
  Visit v = visitFrame("3" + std::string(kSkipLimit + 5, 'x') + "\n888\n");
  EXPECT_EQ(v.bodies, (std::vector<int>{3, 888}));
  EXPECT_EQ(v.output, kTurn + "[3]" + kTurn + "Again:[888]\n");
  // The first character past the limit is the next read's.
  EXPECT_EQ(visitFrame("3" + std::string(kSkipLimit, 'x') + "7\n888\n").bodies,
            (std::vector<int>{3, 7, 888}));
}

TEST(Frame, TheQuickExitEndsTheVisitBeforeTheBody) {
  Visit v = visitFrame("5\n88\n888\n", 88);
  EXPECT_EQ(v.bodies, (std::vector<int>{5}));
  EXPECT_EQ(v.output, kTurn + "[5]" + kTurn + "\n");
}

TEST(Frame, EndOfInputEndsTheVisitAtAnyPoint) {
  EXPECT_TRUE(visitFrame("").bodies.empty());
  EXPECT_TRUE(visitFrame("abc\n").bodies.empty());
  EXPECT_EQ(visitFrame("5\n").bodies, (std::vector<int>{5}));
  // A number that ends the input still has its turn, and the visit ends.
  Visit v = visitFrame("6");
  EXPECT_EQ(v.bodies, (std::vector<int>{6}));
  EXPECT_EQ(v.output, kTurn + "[6]\n");
}

TEST(Frame, ARowMayChooseItsMessageFromTheNumberAsTheReadLeftIt) {
  Visit v = visitFrame("x\n-4\ny\n9\n888\n", 0, true);
  ASSERT_EQ(v.invalids.size(), 3u);
  EXPECT_EQ(v.invalids[0], std::make_pair(0, true));   // the number starts at 0
  EXPECT_EQ(v.invalids[1], std::make_pair(-4, true));  // a read that succeeded
  EXPECT_EQ(v.invalids[2], std::make_pair(-4, true));  // a failed read keeps it
}

TEST(Frame, InputLeftOverFromBeforeThePromptIsNotAFreshLine) {
  // The body leaves part of its line unread, as the sieve's answer does.
  static Visit* current = nullptr;
  Visit result;
  current = &result;
  const DemoRow row{Notice{"\n\tNOTICE"}, Prompt{"\n\tNumber:"}, positive,
                    Rejection([](Console&, int n, bool freshLine) {
                      current->invalids.emplace_back(n, freshLine);
                    })};
  std::stringbuf in("5\nyes\nno\n888\n\n");
  StringSink out;
  Console console(in, out);
  runDemonstration(console, row, {nullptr, [&](int n) {
                                    result.bodies.push_back(n);
                                    if (n != 888) console.readChar();
                                  }});
  EXPECT_EQ(result.bodies, (std::vector<int>{5, 888}));
  ASSERT_EQ(result.invalids.size(), 2u);
  EXPECT_EQ(result.invalids[0], std::make_pair(5, false));  // "es" of the answer
  EXPECT_EQ(result.invalids[1], std::make_pair(5, true));   // "no", typed at the prompt
}

}  // namespace

}  // namespace quorvantile
