// The four-square theorem: every way of writing a number as four squares.
#pragma once

namespace quorvantile {

class Console;

void FourSquare(Console& console);

// One turn's result for `n` (positive): the decompositions and the total
// number of passes of the four nested loops.
void writeFourSquareTurn(Console& console, int n);

}  // namespace quorvantile
