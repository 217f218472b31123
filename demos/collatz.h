// The Collatz conjecture: a number's sequence down to 1 and its steps.
#pragma once

class Console;

void CollatzConjecture(Console& console);
