#include "demos/frame.h"

#include "console/color.h"
#include "console/console.h"
#include "console/terminal.h"

namespace quorvantile {

namespace {

// Reads until a valid number comes. Returns false when the input ends.
bool readValid(Console& console, const DemoRow& row, int& n) {
  while (true) {
    std::size_t linesBefore = console.linesReceived();
    bool leftover = console.hasPending();
    ReadResult result = console.readInt(n);
    if (result == ReadResult::kEnd) return false;
    if (result == ReadResult::kOk && row.valid(n)) return true;
    bool freshLine = !leftover || console.linesReceived() != linesBefore;
    console.discardPending();
    if (row.rejection.write != nullptr) {
      row.rejection.write(console, n, freshLine);
    } else {
      console << row.rejection.message;
    }
  }
}

}  // namespace

void runDemonstration(Console& console, const DemoRow& row, const DemoHooks& hooks) {
  // The number starts at a defined value; only a successful read changes it.
  int n = 0;
  if (row.name != nullptr) announceVisit(row.name);
  while (true) {
    if (hooks.turnStart) hooks.turnStart();
    setRedonBlack(console);
    console << row.notice.text;
    console.endl();
    setWhiteonBlack(console);
    console << row.prompt.text;
    if (!readValid(console, row, n)) return;
    console.skipLine(kSkipLimit);
    if (row.quickExit != kNoQuickExit && n == row.quickExit) return;
    if (row.name != nullptr) announceAccepted(row.name, n);
    hooks.body(n);
    if (n == kExitValue || console.sessionOver()) return;
  }
}

}  // namespace quorvantile
