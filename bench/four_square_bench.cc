// The four-square turn against the literal four nested loops it replaces,
// with the output of both compared; the sweep against the plain search it
// replaced, side by side on the same entries; and the whole turn, lines
// formatted, up to the largest entries.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "console/console.h"
#include "demos/four_square.h"
#include "demos/four_square_sweep.h"
#include "tests/support/four_square_search.h"
#include "tests/support/literal_loops.h"

namespace quorvantile {

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

// Decompositions only, no text: the plain search...
void BM_FourSquarePlainSearch(benchmark::State& state) {
  const auto n = static_cast<std::int64_t>(state.range(0));
  std::int64_t lines = 0;
  for (auto _ : state) {
    lines = 0;
    forEachFourSquares(n, [&](const FourSquares&) { return ++lines > 0; });
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_FourSquarePlainSearch)
    ->Arg(1000000)
    ->Arg(30000000)
    ->Arg(100000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// ...and the sweep, on the same entries and beyond.
void BM_FourSquareSweep(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  std::int64_t lines = 0;
  for (auto _ : state) {
    lines = 0;
    forEachFourSquareRun(n, [&](std::int32_t, const std::uint32_t*, std::size_t count) {
      lines += static_cast<std::int64_t>(count);
      return true;
    });
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_FourSquareSweep)
    ->Arg(1000000)
    ->Arg(30000000)
    ->Arg(100000000)
    ->Arg(1000000000)
    ->Arg(2147483647)
    ->Arg(2147483646)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The whole turn with its text, into a sink that drops it.
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
BENCHMARK(BM_FourSquare)
    ->Arg(100000000)
    ->Arg(1000000000)
    ->Arg(2147483647)
    ->Arg(2147483646)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace quorvantile
