// The four-square turn against the literal four nested loops it replaces,
// with the output of both compared; and the turn at the largest entries that
// must answer at once.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "console/console.h"
#include "demos/four_square.h"

namespace {

// The loops as the demonstration once ran them: every quadruple under
// L = (n+1)/2, int arithmetic, a double counter.
std::string literalTurn(int n) {
  std::ostringstream out;
  double count = 0;
  const int bound = (n + 1) / 2;
  for (int i = 0; i <= bound; ++i) {
    for (int j = 0; j <= i; ++j) {
      for (int k = 0; k <= j; ++k) {
        for (int m = 0; m <= k; ++m) {
          count += 1;
          if (i * i + j * j + k * k + m * m == n) {
            out << "\t\t" << n << "=" << i << "x" << i << "+" << j << "x" << j << "+" << k << "x"
                << k << "+" << m << "x" << m << "\n";
          }
        }
      }
    }
  }
  char total[32];
  std::snprintf(total, sizeof total, "%g", count);
  out << "\n\tThe total loop is " << total << ".\n";
  return out.str();
}

std::string turn(int n) {
  std::stringbuf in;
  StringSink out;
  Console console(in, out);
  writeFourSquareTurn(console, n);
  console.finish();
  return out.text();
}

void BM_FourSquareLiteral(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::string text;
  for (auto _ : state) {
    text = literalTurn(n);
    benchmark::DoNotOptimize(text.data());
  }
  if (text != turn(n)) state.SkipWithError("the turn's output differs from the literal loops'");
}
BENCHMARK(BM_FourSquareLiteral)->Arg(888)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FourSquare(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::stringbuf in;
    NullSink out;
    Console console(in, out);
    writeFourSquareTurn(console, n);
    console.finish();
  }
}
BENCHMARK(BM_FourSquare)->Arg(888)->Arg(999999)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
