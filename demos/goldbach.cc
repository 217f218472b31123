#include "demos/goldbach.h"

#include <cmath>
#include <cstring>
#include <string_view>

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

GoldbachLineWriter::GoldbachLineWriter(Console& console, int n)
    : console_(console), block_(kBlockSize + kLineRoom), n_(n) {
  char* at = prefix_;
  *at++ = '\t';
  at = writeDecimal(at, n);
  *at++ = '=';
  prefixLength_ = static_cast<std::size_t>(at - prefix_);
}

bool GoldbachLineWriter::write(const int* summands, std::size_t count) {
  char* const start = block_.data();
  char* at = start + used_;
  for (std::size_t i = 0; i < count; ++i) {
    // The whole prefix buffer, a fixed size, is one copy inlined where a
    // copy of its length would be a call; what lies past the prefix is
    // written over.
    std::memcpy(at, prefix_, sizeof prefix_);
    at = writeIntDecimal(at + prefixLength_, summands[i]);
    *at++ = '+';
    at = writeIntDecimal(at, n_ - summands[i]);
    *at++ = '\n';
    if (static_cast<std::size_t>(at - start) >= kBlockSize) {
      used_ = static_cast<std::size_t>(at - start);
      if (!finish()) return false;
      at = start;
    }
  }
  used_ = static_cast<std::size_t>(at - start);
  return true;
}

bool GoldbachLineWriter::finish() {
  console_ << std::string_view(block_.data(), used_);
  console_.flush();
  used_ = 0;
  return console_.good();
}

void goldbachBody(Console& console, int n) {
  int count = 0;
  GoldbachLineWriter lines(console, n);
  forEachGoldbachRun(n, [&](const int* summands, std::size_t size) {
    count += static_cast<int>(size);
    return lines.write(summands, size);
  });
  lines.finish();
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
