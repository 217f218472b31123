#include "demos/sieve_bits.h"

#include <cmath>

#include "console/console.h"

namespace {

constexpr int kPrimesPerLine = 10;

}  // namespace

void resetSieve(SieveBits& numbers) {
  numbers.set();
  numbers[0] = false;
  numbers[1] = false;
}

void sieveUpTo(SieveBits& numbers, int endNum) {
  // The bound is inclusive: for 49 the pass for 7 runs and strikes 49.
  const double root = std::sqrt(static_cast<double>(endNum));
  for (int i = 1; static_cast<double>(i) <= root; ++i) {
    if (!numbers[i]) continue;
    for (int j = i * i; j <= endNum; j += i) numbers[j] = false;
  }
}

int countPrimes(const SieveBits& numbers, int endNum) {
  int count = 0;
  for (int i = 1; i <= endNum; ++i) {
    if (numbers[i]) ++count;
  }
  return count;
}

void writePrimeListing(Console& console, const SieveBits& numbers, int endNum) {
  int j = 0;
  for (int i = 1; i <= endNum && console.good(); ++i) {
    if (!numbers[i]) continue;
    console << i << '\t';
    ++j;
    if (j % kPrimesPerLine == 0) console << '\n';
  }
}
