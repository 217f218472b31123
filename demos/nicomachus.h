// Nicomachus's theorem (the "Nico Chester Theorem"): runs of consecutive odd numbers that add up to
// a cube.
#pragma once

namespace quorvantile {

class Console;

void NicoChester(Console& console);

// One turn's result for `n` (positive): the runs of n³ as equations, or a
// line saying that the cube is too large.
void writeNicomachusTurn(Console& console, int n);

}  // namespace quorvantile
