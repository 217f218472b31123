// Quorvantile: number-theory demonstrations and logic puzzles for the
// classroom. Command-line arguments are accepted and ignored.
#include "app/menu.h"
#include "console/console.h"
#include "console/terminal.h"

// main alone stands outside the program's namespace.
using namespace quorvantile;

int main(int, char**) {
  Terminal terminal = detectTerminal();
  std::unique_ptr<Sink> output = openStandardOutput(terminal);
  Console console(standardInput(), *output, terminal.encoding);
  runMenu(console);
  console.finish();
  if (!console.good()) {
    reportError("cannot write to standard output");
    return 1;
  }
  return 0;
}
