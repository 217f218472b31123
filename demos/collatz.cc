#include "demos/collatz.h"

#include "console/color.h"
#include "console/console.h"
#include "demos/collatz_math.h"
#include "demos/frame.h"

namespace quorvantile {

namespace {

constexpr DemoRow kCollatzRow = {
    kExitNotice,  Prompt{"\n\tPlease input a positive integer:"},
    isPositive,   Rejection{"\n\tInvalid. Please input a positive integer:"},
    kNoQuickExit, "collatz",
};

void writeHeading(Console& console) {
  setGreenonBlack(console);
  console << "\n\t----------------Collatz Conjecture-----------------------";
  console.endl();
  console << "\nTake any positive number: if it's even you divide it by 2 and if it's odd multiply "
             "it by 3 and add 1. Repeat this process indefinitely, no matter what number you "
             "start with, you will always end up at 1.";
  console.endl();
  console << "\nThe conjecture remains stubbornly unproven. Mathematics is not yet ready for such "
             "problems.";
  console.endl();
  setWhiteonBlack(console);
}

}  // namespace

void writeCollatzTurn(Console& console, std::int64_t n) {
  bool first = true;
  CollatzWalk walk = walkCollatz(n, [&](std::int64_t t) {
    if (!first) console << "->";
    console << t;
    first = false;
  });
  console.endl();
  if (walk.leftRange) {
    console << "\n\tThe term after " << walk.last
            << " is too large to compute: the sequence stops here.";
    console.endl();
    return;
  }
  setGreenonBlack(console);
  console << "\n\n\tThere are " << walk.steps << " steps to get to 1 for " << n << ".";
  console.endl();
  setWhiteonBlack(console);
}

void CollatzConjecture(Console& console) {
  writeHeading(console);
  runDemonstration(console, kCollatzRow, {nullptr, [&](int n) { writeCollatzTurn(console, n); }});
}

}  // namespace quorvantile
