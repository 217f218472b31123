// Goldbach's conjecture: every split of an even number into two primes, then
// their count. The pairs come from the sieve in goldbach_pairs.h; isPrime is
// the plain trial-division test that the sieve is checked against.
#pragma once

#include <cstddef>

#include "console/decimal.h"

namespace quorvantile {

class Console;

void GoldbachConjecture(Console& console);

// Trial division by the odd numbers up to the square root; meant for n >= 2.
bool isPrime(int n);

// Writes the pair lines "\t<n>=<p>+<q>" of one turn, each with a line end.
class GoldbachLineWriter {
 public:
  GoldbachLineWriter(Console& console, int n);
  void write(int p, int q);

 private:
  Console& console_;
  // "\t<n>=", the same on every line of a turn, then "<p>+<q>".
  char line_[3 * kMaxDecimalLength + 3];
  std::size_t prefixLength_;
};

// One turn: the pair lines for the even n > 0, then the green summary.
void goldbachBody(Console& console, int n);

}  // namespace quorvantile
