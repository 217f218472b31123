// The Nicomachus turn against the literal double loop over first and last
// odd term (with a sum that cannot wrap), and the turn at the largest cube
// that fits in an int.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "console/console.h"
#include "demos/nicomachus.h"

namespace {

// The double loop as it stands, run to its bounds after every match. With
// `starts` > 0 only that many odd starts are tried: at 888 each start costs
// about cube/2 additions, and the whole loop runs for minutes.
std::string literalTurn(int n, std::int64_t starts) {
  std::ostringstream out;
  const std::int64_t cube = static_cast<std::int64_t>(n) * n * n;
  const std::int64_t startLimit = starts > 0 ? 2 * starts : cube;
  for (std::int64_t i = 1; i < cube && i < startLimit; i += 2) {
    std::int64_t sum = 0;
    for (std::int64_t j = i; j < cube; j += 2) {
      sum += j;
      if (sum == cube) {
        out << "\n\t" << cube << "=";
        for (std::int64_t k = i; k < j; k += 2) out << k << "+";
        out << j << "\n";
        if (cube > 125000) {
          out << "\n\tThre are many other solutions.\n";
          i = cube;
        }
      }
    }
  }
  return out.str();
}

std::string turn(int n) {
  std::stringbuf in;
  StringSink out;
  Console console(in, out);
  writeNicomachusTurn(console, n);
  console.finish();
  return out.text();
}

void BM_NicomachusLiteral(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::int64_t starts = state.range(1);
  std::string text;
  for (auto _ : state) {
    text = literalTurn(n, starts);
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["starts"] = static_cast<double>(starts);
  if (starts == 0 && text != turn(n)) {
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
