#include "demos/sieve_bits.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string_view>
#include <vector>

#include "console/console.h"
#include "console/decimal.h"
#include "demos/bit_ops.h"
#include "demos/wheel.h"

namespace quorvantile {

namespace {

constexpr int kPrimesPerLine = 10;

// The bits 0..k of a word.
std::uint64_t upTo(int k) {
  return k == kWordBits - 1 ? ~std::uint64_t{0} : (std::uint64_t{2} << k) - 1;
}

// The wheel's turn of 210 numbers repeats every 105 words (64 * 105 = 6720
// = 32 * 210).
constexpr int kPatternWords = kWheelTurn / std::gcd(kWheelTurn, kWordBits);

// Strikes the multiples of the wheel primes, those primes themselves
// excepted, by copying whole words. Together with the passes of the primes
// from 11 on this strikes exactly what the passes from 2 on would.
void strikeByPattern(SieveBits& numbers, int endNum) {
  std::array<std::uint64_t, kPatternWords> pattern;
  for (int w = 0; w < kPatternWords; ++w) {
    std::uint64_t word = 0;
    // Each of the word's bits is set exactly when the wheel spares its
    // number; bit 0, a multiple of 64, never is.
    for (int b = 0; b < kWordBits; ++b) {
      if (wheelSpares(w * kWordBits + b, 0)) word |= std::uint64_t{1} << b;
    }
    pattern[w] = word;
  }
  const int last = endNum / kWordBits;
  for (int w = 0; w < last; ++w) numbers.words[w] &= pattern[w % kPatternWords];
  // Bits above endNum stay as they are.
  numbers.words[last] &= pattern[last % kPatternWords] | ~upTo(endNum % kWordBits);
  for (int q : kWheelPrimes) {
    if (q <= endNum) numbers.words[0] |= std::uint64_t{1} << q;
  }
}

// The passes run over windows of this many bits (32 KiB), which stay in the
// level-1 cache while every prime strikes its multiples in them.
constexpr int kWindowBits = 1 << 18;

struct Pass {
  int prime;
  int next;  // the next multiple to strike
};

}  // namespace

void resetSieve(SieveBits& numbers) {
  numbers.words.fill(~std::uint64_t{0});
  numbers.clear(0);
  numbers.clear(1);
}

void sieveUpTo(SieveBits& numbers, int endNum) {
  // The bound is inclusive: for 49 the pass for 7 runs and strikes 49.
  const double root = std::sqrt(static_cast<double>(endNum));
  strikeByPattern(numbers, endNum);
  // Every prime up to the root lies in the first window, where the passes
  // begin in increasing order; each then goes on from window to window. Even
  // multiples are struck already, so a pass steps over them.
  std::vector<Pass> passes;
  // The windows cover 0..endNum, the last one ending at endNum itself.
  for (int start = 0; start <= endNum; start += kWindowBits) {
    const int end = std::min(endNum, start + kWindowBits - 1);
    for (Pass& pass : passes) {
      for (; pass.next <= end; pass.next += 2 * pass.prime) numbers.clear(pass.next);
    }
    if (start != 0) continue;
    for (int i = 11; static_cast<double>(i) <= root; i += 2) {
      if (!numbers[i]) continue;
      Pass pass{i, i * i};
      for (; pass.next <= end; pass.next += 2 * i) numbers.clear(pass.next);
      passes.push_back(pass);
    }
  }
}

std::unique_ptr<SieveBits> sievedUpTo(int endNum) {
  auto numbers = std::make_unique<SieveBits>();
  resetSieve(*numbers);
  sieveUpTo(*numbers, endNum);
  return numbers;
}

int countPrimes(const SieveBits& numbers, int endNum) {
  const int last = endNum / kWordBits;
  int count = 0;
  for (int w = 0; w < last; ++w) count += popcount(numbers.words[w]);
  return count + popcount(numbers.words[last] & upTo(endNum % kWordBits));
}

void writePrimeListing(Console& console, const SieveBits& numbers, int endNum) {
  // A line of ten primes of at most seven digits, each with its tab: nine of
  // them, then the room the writer asks for, which holds the last one, its
  // tab and the line end.
  char line[(kPrimesPerLine - 1) * 8 + kMaxDecimalLength];
  char* at = line;
  int j = 0;
  const int last = endNum / kWordBits;
  for (int w = 0; w <= last && console.good(); ++w) {
    std::uint64_t word = numbers.words[w];
    if (w == last) word &= upTo(endNum % kWordBits);
    while (word != 0) {
      int i = w * kWordBits + countTrailingZeros(word);
      word &= word - 1;
      at = writeDecimal(at, i);
      *at++ = '\t';
      ++j;
      if (j % kPrimesPerLine == 0) {
        *at++ = '\n';
        console << std::string_view(line, static_cast<std::size_t>(at - line));
        at = line;
      }
    }
  }
  console << std::string_view(line, static_cast<std::size_t>(at - line));
}

}  // namespace quorvantile
