// Decimal text of integers, the one writer of numbers for the console and
// for the demonstrations that build whole lines.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvantile {

// Room for any 64-bit value: 19 digits and a sign.
constexpr std::size_t kMaxDecimalLength = 20;

// Writes `value` at `at`, which has room for kMaxDecimalLength characters;
// returns the end of what was written.
inline char* writeDecimal(char* at, std::int64_t value) {
  return std::to_chars(at, at + kMaxDecimalLength, value).ptr;
}

// The same for an int, straight into `at`, two digits at a time from a
// table: the listings write millions of ints, and the library's conversion
// is a call per few digits in WebAssembly.
inline char* writeIntDecimal(char* at, int value) {
  static constexpr char kDigitPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  auto rest = static_cast<std::uint32_t>(value);
  if (value < 0) {
    *at++ = '-';
    rest = 0u - rest;
  }
  // Counted without a loop: nine comparisons that do not wait on each other.
  const int digits = 1 + (rest >= 10u) + (rest >= 100u) + (rest >= 1000u) + (rest >= 10000u) +
                     (rest >= 100000u) + (rest >= 1000000u) + (rest >= 10000000u) +
                     (rest >= 100000000u) + (rest >= 1000000000u);
  char* const end = at + digits;
  char* out = end;
  for (; rest >= 100; rest /= 100) {
    const std::uint32_t pair = rest % 100 * 2;
    *--out = kDigitPairs[pair + 1];
    *--out = kDigitPairs[pair];
  }
  if (rest >= 10) {
    *--out = kDigitPairs[rest * 2 + 1];
    *--out = kDigitPairs[rest * 2];
  } else {
    *--out = static_cast<char>('0' + rest);
  }
  return end;
}

inline void appendDecimal(std::string& text, std::int64_t value) {
  char digits[kMaxDecimalLength];
  text.append(digits, writeDecimal(digits, value));
}

}  // namespace quorvantile
