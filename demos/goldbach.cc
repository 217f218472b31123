#include "demos/goldbach.h"

#include <cmath>

#include "console/color.h"
#include "console/console.h"
#include "console/decimal.h"
#include "demos/frame.h"
#include "demos/goldbach_pairs.h"

namespace quorvantile {

namespace {

bool isPositiveEven(int n) { return n > 0 && n % 2 == 0; }

// One field a line, as the frame reads them.
// clang-format off
constexpr DemoRow kGoldbachRow = {
    kExitNotice,    Prompt{"\n\tPlease input a positive even integer:"},
    isPositiveEven, Rejection{"Invalid. Please input a positive even integer:"},
    kNoQuickExit,   "goldbach",
};
// clang-format on

void writeHeading(Console& console) {
  setGreenonBlack(console);
  console << "\n\t----------------Goldbach's Conjecture-----------------------";
  console.endl();
  console << "\n\tFor any even number N greater than or equal to 4, there exists ";
  console.endl();
  console << "\n\tat least one pair of prime numbers p1 and p2 such that N = p1 + p2.";
  console.endl();
  setWhiteonBlack(console);
}

}  // namespace

bool isPrime(int n) {
  if (n == 2) return true;
  if ((n & 1) == 0) return false;
  for (int i = 3; static_cast<double>(i) <= std::sqrt(static_cast<double>(n)); i += 2) {
    if (n % i == 0) return false;
  }
  return true;
}

GoldbachLineWriter::GoldbachLineWriter(Console& console, int n) : console_(console) {
  char* at = line_;
  *at++ = '\t';
  at = writeDecimal(at, n);
  *at++ = '=';
  prefixLength_ = static_cast<std::size_t>(at - line_);
}

void GoldbachLineWriter::write(int p, int q) {
  // The line is formatted behind the prefix and handed over in one piece.
  char* at = writeDecimal(line_ + prefixLength_, p);
  *at++ = '+';
  at = writeDecimal(at, q);
  console_ << std::string_view(line_, static_cast<std::size_t>(at - line_));
  console_.endl();
}

void goldbachBody(Console& console, int n) {
  int count = 0;
  GoldbachLineWriter lines(console, n);
  forEachGoldbachPair(n, [&](int p, int q) {
    ++count;
    lines.write(p, q);
    return console.good();
  });
  setGreenonBlack(console);
  console << "\n\n\tThere are " << count << " pair(s) of Prime Numbers that add up to " << n;
  console.endl();
  setWhiteonBlack(console);
}

void GoldbachConjecture(Console& console) {
  writeHeading(console);
  runDemonstration(console, kGoldbachRow, {nullptr, [&](int n) { goldbachBody(console, n); }});
}

}  // namespace quorvantile
