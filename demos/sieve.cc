#include "demos/sieve.h"

#include <memory>

#include "console/color.h"
#include "console/console.h"
#include "demos/frame.h"
#include "demos/sieve_bits.h"

namespace quorvantile {

namespace {

bool inRange(int endNum) { return endNum >= 1 && endNum <= kSieveLimit; }

// The message follows the value the read left: too small, too large, or,
// when a read failed while an accepted number from an earlier turn is still
// held, the first message for a fresh line of input and none for the letters
// left over from a yes/no answer.
void writeInvalid(Console& console, int endNum, bool freshLine) {
  if (endNum > kSieveLimit) {
    console << "\n\tInvalid. Please input an integer less than " << kSieveLimit << ":";
    console.endl();
    return;
  }
  if (endNum < 1 || freshLine) console << "\n\tInvalid. Please input a positive integer:";
}

constexpr DemoRow kSieveRow = {
    kExitNotice,  Prompt{"\n\tStart from 1, please input the end number:"},
    inRange,      Rejection{writeInvalid},
    kNoQuickExit, "sieve",
};

bool meansYes(int c) { return c == 'y' || c == 'Y' || c == '\n'; }

void sieveBody(Console& console, SieveBits& numbers, int endNum) {
  sieveUpTo(numbers, endNum);
  int count = countPrimes(numbers, endNum);
  setGreenonBlack(console);
  console << "\n\tThere are " << count << " prime number between 1 and " << endNum << ".";
  console.endl();
  console << "\n\tPrint all these prime number(Y/N):";
  setWhiteonBlack(console);
  // The end of input reads as no.
  if (meansYes(console.readChar())) {
    writePrimeListing(console, numbers, endNum);
  } else {
    console << "\n";
  }
}

}  // namespace

void SieveEratosthenes(Console& console) {
  console << "\n\t----------------Sieve of Eratosthenes--------------------\n";
  console.endl();
  // 125 KB: on the heap rather than the stack.
  auto numbers = std::make_unique<SieveBits>();
  runDemonstration(
      console, kSieveRow,
      {[&] { resetSieve(*numbers); }, [&](int endNum) { sieveBody(console, *numbers, endNum); }});
}

}  // namespace quorvantile
