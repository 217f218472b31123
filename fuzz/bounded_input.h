// The fuzzer's bound on what reaches the program: no number longer than three
// digits can be read from the rewritten input, except from its first two long
// runs of digits (up to six digits) and from runs too long for an int, whose
// whole read fails. Every other byte passes unchanged, in place.
#pragma once

#include <string>
#include <string_view>

namespace fuzzbound {

// Entries valid but slow by nature (a four-square or Goldbach entry in the
// billions) would read as hangs. Up to 999 every entry ends in well under a
// millisecond, and the exit value 888 still fits.
constexpr std::size_t kKeptDigits = 3;
// A few larger entries per input reach the demonstrations' wider paths (the
// sieve's windows, the Goldbach sieve's patterns). Up to 999999 the slowest,
// four squares with about a million lines, takes a fraction of a second
// under the sanitizers, so this many stay far below the 10 s timeout.
constexpr std::size_t kLargeDigits = 6;
constexpr int kLargeRuns = 2;
// A run this long never fits an int, so reading it whole fails at once; its
// first digit is kept to keep that failure reachable.
constexpr std::size_t kBeyondIntDigits = 11;

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A read can begin inside a run of digits: the frame's skip of at most 1000
// characters, a one-character read (the pause, the sieve's answer) or a line
// received in pieces can stop there. So every tail of a run, not only the
// whole run, must be bounded: all digits but the last `kept` become zeros,
// and the run keeps its length. A read takes a run to its end, so each run
// gives at most one number.
inline void boundRun(std::string& text, std::size_t start, std::size_t end, std::size_t kept) {
  if (end - start <= kept) return;
  std::size_t first = end - start >= kBeyondIntDigits ? start + 1 : start;
  for (std::size_t i = first; i < end - kept; ++i) text[i] = '0';
}

inline std::string boundNumbers(std::string_view input) {
  std::string text(input);
  int largeRunsLeft = kLargeRuns;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!isDigit(text[i])) {
      ++i;
      continue;
    }
    std::size_t start = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    std::size_t kept = kKeptDigits;
    if (i - start > kKeptDigits && largeRunsLeft > 0) {
      --largeRunsLeft;
      kept = kLargeDigits;
    }
    boundRun(text, start, i, kept);
  }
  return text;
}

}  // namespace fuzzbound
