// The turn structure that all five demonstrations share: a red notice, a
// prompt, reading until a valid number comes, then the demonstration's body,
// until the exit value (888) has had its turn.
#pragma once

#include <functional>
#include <string_view>

class Console;

constexpr int kExitValue = 888;
// After a good number the rest of its line is skipped, up to this many
// characters (a longer rest stays for the next read).
constexpr std::size_t kSkipLimit = 1000;

// The notice of every demonstration that 888 ends.
constexpr std::string_view kExitNotice = "\n\tNOTICE: Input 888 to Return to the Main Menu.";

// The validity test of the demonstrations that take any positive number.
inline bool isPositive(int n) { return n > 0; }

struct DemoRow {
  std::string_view notice;  // written in red, then a line end
  std::string_view prompt;  // no line end
  bool (*valid)(int n);
  // Written after every rejected entry, unless `writeInvalid` chooses.
  std::string_view invalid;
  // For rows whose message depends on the number as the failed read left it;
  // `freshLine` is false when the read failed on input left over from before
  // the prompt.
  void (*writeInvalid)(Console& console, int n, bool freshLine);
  // A number that ends the visit as soon as it is read; 0 for none.
  int quickExit;
};

struct DemoHooks {
  std::function<void()> turnStart;  // may be empty
  std::function<void(int n)> body;
};

// Runs one visit. Returns after the turn for 888, on the quick exit, or when
// the input ends.
void runDemonstration(Console& console, const DemoRow& row, const DemoHooks& hooks);
