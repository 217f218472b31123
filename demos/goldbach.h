// Goldbach's conjecture: every split of an even number into two primes.
#pragma once

class Console;

void GoldbachConjecture(Console& console);
