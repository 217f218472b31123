// Decimal text of integers, the one writer of numbers for the console and
// for the demonstrations that build whole lines.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>

// Room for any 64-bit value: 19 digits and a sign.
constexpr std::size_t kMaxDecimalLength = 20;

// Writes `value` at `at`, which has room for kMaxDecimalLength characters;
// returns the end of what was written.
inline char* writeDecimal(char* at, std::int64_t value) {
  return std::to_chars(at, at + kMaxDecimalLength, value).ptr;
}

// The same for an int, through the 32-bit conversion: the listings that write
// millions of ints need not pay for 64-bit divisions (WebAssembly's are slow).
inline char* writeIntDecimal(char* at, int value) {
  return std::to_chars(at, at + kMaxDecimalLength, value).ptr;
}

inline void appendDecimal(std::string& text, std::int64_t value) {
  char digits[kMaxDecimalLength];
  text.append(digits, writeDecimal(digits, value));
}
