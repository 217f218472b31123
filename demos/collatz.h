// The Collatz conjecture: a number's sequence down to 1 and its steps.
#pragma once

#include <cstdint>

namespace quorvantile {

class Console;

void CollatzConjecture(Console& console);

// One turn's result for `n` (positive): the sequence line and the summary.
void writeCollatzTurn(Console& console, std::int64_t n);

}  // namespace quorvantile
