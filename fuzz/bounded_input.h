// The fuzzer's bound on what reaches the program: no number longer than three
// digits can be read from the rewritten input, except ones too long for an
// int, whose read fails. Every other byte passes unchanged, in place.
#pragma once

#include <string>
#include <string_view>

namespace fuzzbound {

// Entries valid but slow by nature (a four-square or Goldbach entry in the
// billions) would read as hangs. Up to 999 every entry ends in well under a
// millisecond, and the exit value 888 still fits.
constexpr std::size_t kKeptDigits = 3;
// A run this long never fits an int, so reading it whole fails at once; its
// first digit is kept to keep that failure reachable.
constexpr std::size_t kBeyondIntDigits = 11;

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A read can begin inside a run of digits: the frame's skip of at most 1000
// characters, a one-character read (the pause, the sieve's answer) or a line
// received in pieces can stop there. So every tail of a run, not only the
// whole run, must be a small number: all digits but the last three become
// zeros, and the run keeps its length.
inline void boundRun(std::string& text, std::size_t start, std::size_t end) {
  if (end - start <= kKeptDigits) return;
  std::size_t first = end - start >= kBeyondIntDigits ? start + 1 : start;
  for (std::size_t i = first; i < end - kKeptDigits; ++i) text[i] = '0';
}

inline std::string boundNumbers(std::string_view input) {
  std::string text(input);
  std::size_t i = 0;
  while (i < text.size()) {
    if (!isDigit(text[i])) {
      ++i;
      continue;
    }
    std::size_t start = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    boundRun(text, start, i);
  }
  return text;
}

}  // namespace fuzzbound
