// A sieve turn for a million with the listing, against its parts: the
// sieving and counting alone, and the listing alone.
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>

#include "console/console.h"
#include "demos/sieve_bits.h"

namespace quorvantile {

namespace {

void BM_SieveTurnWithListing(benchmark::State& state) {
  const int endNum = static_cast<int>(state.range(0));
  auto numbers = std::make_unique<SieveBits>();
  std::stringbuf in;
  NullSink out;
  Console console(in, out);
  for (auto _ : state) {
    resetSieve(*numbers);
    sieveUpTo(*numbers, endNum);
    console << "\n\tThere are " << countPrimes(*numbers, endNum) << " prime number between 1 and "
            << endNum << ".";
    console.endl();
    writePrimeListing(console, *numbers, endNum);
  }
}

void BM_SieveAndCountOnly(benchmark::State& state) {
  const int endNum = static_cast<int>(state.range(0));
  auto numbers = std::make_unique<SieveBits>();
  for (auto _ : state) {
    resetSieve(*numbers);
    sieveUpTo(*numbers, endNum);
    benchmark::DoNotOptimize(countPrimes(*numbers, endNum));
  }
}

void BM_SieveListingOnly(benchmark::State& state) {
  const int endNum = static_cast<int>(state.range(0));
  auto numbers = std::make_unique<SieveBits>();
  resetSieve(*numbers);
  sieveUpTo(*numbers, endNum);
  std::stringbuf in;
  NullSink out;
  Console console(in, out);
  for (auto _ : state) writePrimeListing(console, *numbers, endNum);
}

}  // namespace

BENCHMARK(BM_SieveTurnWithListing)->Arg(kSieveLimit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SieveAndCountOnly)->Arg(kSieveLimit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SieveListingOnly)->Arg(kSieveLimit)->Unit(benchmark::kMicrosecond);

}  // namespace quorvantile
