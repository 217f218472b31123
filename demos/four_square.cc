#include "demos/four_square.h"

#include "console/color.h"
#include "console/console.h"
#include "demos/four_square_math.h"
#include "demos/frame.h"
#include "demos/general_format.h"

namespace {

constexpr DemoRow kFourSquareRow = {
    kExitNotice,
    Prompt{"\n\tPlease input a positive integer:"},
    isPositive,
    Rejection{"Invalid. Please input a positive integer:"},
};

void writeHeading(Console& console) {
  setGreenonBlack(console);
  console << "\n\t----------------Four-square Theorem--------------------";
  console.endl();
  console << "\n\tFour-square Theorem: Each positive integer may be expressed ";
  console << "\n\tas the sum of the squares of four integers.";
  console.endl();
  setWhiteonBlack(console);
}

}  // namespace

void writeFourSquareTurn(Console& console, int n) {
  forEachFourSquares(n, [&](const FourSquares& s) {
    console << "\t\t" << n << "=" << s.i << "x" << s.i << "+" << s.j << "x" << s.j << "+" << s.k
            << "x" << s.k << "+" << s.m << "x" << s.m;
    console.endl();
    // Nobody reads a search that can no longer be written.
    return console.good();
  });
  // The loops run i from 0 to (n+1)/2; n + 1 may not fit in an int.
  const auto loopBound = static_cast<std::uint32_t>((static_cast<std::int64_t>(n) + 1) / 2);
  console << "\n\tThe total loop is " << formatGeneral(passCountDigits(loopBound)) << ".";
  console.endl();
}

void FourSquare(Console& console) {
  writeHeading(console);
  runDemonstration(console, kFourSquareRow,
                   {nullptr, [&](int n) { writeFourSquareTurn(console, n); }});
}
