// Nicomachus's theorem (the "Nico Chester Theorem"): runs of consecutive odd numbers that add up to
// a cube.
#pragma once

#include <vector>

#include "demos/nicomachus_math.h"

namespace quorvantile {

class Console;

// The runs one turn writes for `n` (1 <= n <= kLargestIntCubeRoot), in the
// order it writes them: every run of n³, or the first alone when the cube is
// too large to list them all (`more`: a line then says there are others).
struct TurnRuns {
  std::vector<OddRun> runs;
  bool more = false;
};
TurnRuns nicomachusTurnRuns(int n);

void NicoChester(Console& console);

// One turn's result for `n` (positive): the runs of n³ as equations, or a
// line saying that the cube is too large.
void writeNicomachusTurn(Console& console, int n);

}  // namespace quorvantile
