#include "demos/nicomachus.h"

#include <string>

#include "console/color.h"
#include "console/console.h"
#include "console/decimal.h"
#include "demos/frame.h"

namespace quorvantile {

namespace {

// Cubes above this get one equation and a line saying there are more.
constexpr std::int64_t kListAllUpTo = 125000;
// Leaves the visit as soon as it is read, besides the usual 888.
constexpr int kQuickExit = 88;

// One field a line, as the frame reads them.
// clang-format off
constexpr DemoRow kNicomachusRow = {
    Notice{"\n\tNOTICE: Input 88 to Return to the Main Menu."},
    Prompt{"\n\tPlease input a positive integer:"},
    isPositive,
    Rejection{"\n\tInvalid. Please input a positive integer:"},
    kQuickExit,
    "nicomachus",
};
// clang-format on

void writeHeading(Console& console) {
  setGreenonBlack(console);
  console << "\n\t----------------Nico Chester Theorem-----------------------";
  console.endl();
  console << "\n\tAny integer to the third power can be represented as the sum of a series of "
             "consecutive odd Numbers.";
  console.endl();
  setWhiteonBlack(console);
}

// A run can have tens of thousands of terms: the line is built in one string
// and written at once.
void writeEquation(Console& console, std::int64_t cube, const OddRun& run) {
  std::string line = "\n\t";
  line.reserve(static_cast<std::size_t>(run.count) * 8 + 16);
  appendDecimal(line, cube);
  line += '=';
  for (std::int64_t k = run.first; k < run.last(); k += 2) {
    appendDecimal(line, k);
    line += '+';
  }
  appendDecimal(line, run.last());
  console << line;
  console.endl();
}

}  // namespace

TurnRuns nicomachusTurnRuns(int n) {
  TurnRuns turn;
  turn.runs = oddRunsOfCube(n);
  const std::int64_t cube = static_cast<std::int64_t>(n) * n * n;
  if (cube > kListAllUpTo && !turn.runs.empty()) {
    turn.runs.resize(1);
    turn.more = true;
  }
  return turn;
}

void writeNicomachusTurn(Console& console, int n) {
  if (n > kLargestIntCubeRoot) {
    console << "\n\tThe cube of " << n
            << " is too large for this demonstration: please input a number up to "
            << kLargestIntCubeRoot << ".";
    console.endl();
    return;
  }
  const std::int64_t cube = static_cast<std::int64_t>(n) * n * n;
  const TurnRuns turn = nicomachusTurnRuns(n);
  for (const OddRun& run : turn.runs) writeEquation(console, cube, run);
  if (turn.more) {
    console << "\n\tThre are many other solutions.";
    console.endl();
  }
}

void NicoChester(Console& console) {
  writeHeading(console);
  runDemonstration(console, kNicomachusRow,
                   {nullptr, [&](int n) { writeNicomachusTurn(console, n); }});
}

}  // namespace quorvantile
