// Goldbach turns written to a console that discards its text: the sieved
// body, the literal loop that tests every candidate by trial division, and
// the bare formatting and writing of the same pair lines.
#include <benchmark/benchmark.h>

#include <sstream>
#include <utility>
#include <vector>

#include "console/color.h"
#include "console/console.h"
#include "demos/goldbach.h"
#include "demos/goldbach_pairs.h"
#include "tests/support/goldbach_reference.h"

namespace quorvantile {

namespace {

// The loop as first written: isPrime for every candidate up to n / 2.
void literalBody(Console& console, int n) {
  int count = 0;
  forEachPairByTrialDivision(n, 2, n / 2, [&](int p, int q) {
    ++count;
    console << "\t" << n << "=" << p << "+" << q;
    console.endl();
  });
  setGreenonBlack(console);
  console << "\n\n\tThere are " << count << " pair(s) of Prime Numbers that add up to " << n;
  console.endl();
  setWhiteonBlack(console);
}

void BM_GoldbachLiteral(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::stringbuf in;
  NullSink out;
  Console console(in, out);
  for (auto _ : state) literalBody(console, n);
}

void BM_GoldbachSieved(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::stringbuf in;
  NullSink out;
  Console console(in, out);
  for (auto _ : state) goldbachBody(console, n);
}

// The floor: the same lines and summary, with the pairs known in advance.
void BM_GoldbachWriteOnly(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<int> summands;
  forEachGoldbachPair(n, [&](int p, int) {
    summands.push_back(p);
    return true;
  });
  std::stringbuf in;
  NullSink out;
  Console console(in, out);
  for (auto _ : state) {
    GoldbachLineWriter lines(console, n);
    lines.write(summands.data(), summands.size());
    lines.finish();
    setGreenonBlack(console);
    console << "\n\n\tThere are " << static_cast<int>(summands.size())
            << " pair(s) of Prime Numbers that add up to " << n;
    console.endl();
    setWhiteonBlack(console);
  }
}

// The sieve alone, nothing written.
void BM_GoldbachPairsOnly(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    int count = 0;
    forEachGoldbachPair(n, [&](int, int) {
      ++count;
      return true;
    });
    benchmark::DoNotOptimize(count);
  }
}

}  // namespace

BENCHMARK(BM_GoldbachLiteral)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GoldbachLiteral)->Arg(100000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GoldbachSieved)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Arg(100000000)
    ->Arg(2147483646)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GoldbachWriteOnly)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Arg(100000000)
    ->Arg(2147483646)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GoldbachPairsOnly)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Arg(100000000)
    ->Arg(2147483646)
    ->Unit(benchmark::kMillisecond);

}  // namespace quorvantile
