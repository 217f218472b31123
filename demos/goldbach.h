// Goldbach's conjecture: every split of an even number into two primes, then
// their count. The pairs come from the sieve in goldbach_pairs.h; isPrime is
// the plain trial-division test that the sieve is checked against.
#pragma once

#include <cstddef>
#include <vector>

#include "console/decimal.h"

namespace quorvantile {

class Console;

void GoldbachConjecture(Console& console);

// Trial division by the odd numbers up to the square root; meant for n >= 2.
bool isPrime(int n);

// Writes the pair lines "\t<n>=<p>+<q>" of one turn, each with a line end.
// The lines are formatted into a block of their own and the console gets
// whole blocks: millions of lines cannot afford a call per piece of text.
class GoldbachLineWriter {
 public:
  GoldbachLineWriter(Console& console, int n);
  // The lines of the splits n = p + (n - p) for the given p; false once the
  // console has failed.
  bool write(const int* summands, std::size_t count);
  // Hands on what is left; the lines reach the console only here or once a
  // block is full.
  bool finish();

 private:
  // A block is handed on once it holds this much: large enough that the
  // console's copies and writes are few, small enough to stay in cache, and
  // no smaller than the pieces the page's session log keeps without joining
  // them (64 KiB).
  static constexpr std::size_t kBlockSize = std::size_t{1} << 16;
  // "\t<n>=<p>+<q>\n" at its longest: three numbers, three signs and a tab.
  static constexpr std::size_t kLineRoom = 3 * kMaxDecimalLength + 4;

  Console& console_;
  std::vector<char> block_;
  std::size_t used_ = 0;
  int n_;
  // "\t<n>=", the same on every line of a turn.
  char prefix_[kMaxDecimalLength + 2];
  std::size_t prefixLength_;
};

// One turn: the pair lines for the even n > 0, then the green summary.
void goldbachBody(Console& console, int n);

}  // namespace quorvantile
