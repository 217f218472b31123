// The turn structure that all five demonstrations share: a red notice, a
// prompt, reading until a valid number comes, then the demonstration's body,
// until the exit value (888) has had its turn.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace quorvantile {

class Console;

constexpr int kExitValue = 888;
// After a good number the rest of its line is skipped, up to this many
// characters (a longer rest stays for the next read).
constexpr std::size_t kSkipLimit = 1000;

// The texts of a row have types of their own, so that a row which gives
// them in the wrong order does not compile.

// Written in red at the start of every turn, then a line end.
struct Notice {
  constexpr explicit Notice(std::string_view text) : text(text) {}
  std::string_view text;
};

// Written after the notice, without a line end.
struct Prompt {
  constexpr explicit Prompt(std::string_view text) : text(text) {}
  std::string_view text;
};

// The answer to every rejected entry: a fixed message, or a function for
// rows whose message depends on the number as the failed read left it
// (`freshLine` is false when the read failed on input left over from before
// the prompt).
struct Rejection {
  using Writer = void (*)(Console& console, int n, bool freshLine);
  constexpr explicit Rejection(std::string_view message) : message(message) {}
  constexpr explicit Rejection(Writer write) : write(write) {}
  std::string_view message;
  Writer write = nullptr;
};

// The notice of every demonstration that 888 ends.
constexpr Notice kExitNotice{"\n\tNOTICE: Input 888 to Return to the Main Menu."};

// The validity test of the demonstrations that take any positive number.
inline bool isPositive(int n) { return n > 0; }

// The quick exit of the rows that have none.
constexpr int kNoQuickExit = 0;

struct DemoRow {
  Notice notice;
  Prompt prompt;
  bool (*valid)(int n);
  Rejection rejection;
  // A number that ends the visit as soon as it is read; kNoQuickExit for none.
  int quickExit = kNoQuickExit;
  // The demonstration's name when it announces a number it accepted (the web
  // page draws its picture); none is announced without one.
  const char* name = nullptr;
};

struct DemoHooks {
  std::function<void()> turnStart;  // may be empty
  std::function<void(int n)> body;
};

// Runs one visit. Returns after the turn for 888, on the quick exit, or when
// the input ends.
void runDemonstration(Console& console, const DemoRow& row, const DemoHooks& hooks);

}  // namespace quorvantile
