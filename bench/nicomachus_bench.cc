// The Nicomachus turn against the literal double loop over first and last
// odd term (with a sum that cannot wrap), and the turn at the largest cube
// that fits in an int.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "console/console.h"
#include "demos/nicomachus.h"
#include "tests/support/literal_loops.h"

namespace quorvantile {

namespace {

void BM_NicomachusLiteral(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::int64_t starts = state.range(1);
  std::string text;
  for (auto _ : state) {
    text = literalNicomachusTurn(n, starts);
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["starts"] = static_cast<double>(starts);
  if (starts == 0 && text != turnText(writeNicomachusTurn, n)) {
    state.SkipWithError("the turn's output differs from the literal loop's");
  }
}
// 50 in full; 888 for its first 20 of the 1888 starts up to its one match.
BENCHMARK(BM_NicomachusLiteral)
    ->Args({50, 0})
    ->Args({888, 20})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_Nicomachus(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::stringbuf in;
    NullSink out;
    Console console(in, out);
    writeNicomachusTurn(console, n);
    console.finish();
  }
}
BENCHMARK(BM_Nicomachus)->Arg(50)->Arg(888)->Arg(1290)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace quorvantile
