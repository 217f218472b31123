// The four-square turn against the literal four nested loops it replaces,
// with the output of both compared; and the turn at the largest entries that
// must answer at once.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "console/console.h"
#include "demos/four_square.h"
#include "tests/literal_loops.h"

namespace {

void BM_FourSquareLiteral(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::string text;
  for (auto _ : state) {
    text = literalFourSquareTurn(n);
    benchmark::DoNotOptimize(text.data());
  }
  if (text != turnText(writeFourSquareTurn, n))
    state.SkipWithError("the turn's output differs from the literal loops'");
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
