// The puzzles' shared prompt: asks for a key, then waits for a new line of
// input (or its end) before the answer is shown.
#pragma once

namespace quorvantile {

class Console;

void waitForKey(Console& console);

}  // namespace quorvantile
