// The splits of an even number into two primes, found by a segmented sieve
// rather than by a primality test per candidate: exact for every even number
// up to 2147483646, in little memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quorvantile {

// Called with each split n = p + q, p <= q; returns false to stop.
using GoldbachVisitor = std::function<bool(int p, int q)>;
// Called with the smaller summands of consecutive splits, ascending, many at
// a time (a window of the sieve); returns false to stop.
using GoldbachRunVisitor = std::function<bool(const int* summands, std::size_t count)>;

// Visits every split of `n` into two primes, in increasing order of the
// smaller summand. Nothing is visited for odd n or n < 4.
void forEachGoldbachPair(int n, const GoldbachVisitor& visit);
// The same splits in runs: what a listing goes through.
void forEachGoldbachRun(int n, const GoldbachRunVisitor& visit);

// The same, restricted to the splits whose smaller summand p lies in
// [from, to].
void forEachGoldbachPair(int n, int from, int to, const GoldbachVisitor& visit);

// How the sieve cuts up its work. Every shape gives the same pairs; the
// sizes the program uses (kMeasuredSieveShape) were chosen for speed alone.
// Tests pass tiny ones to reach the edges of windows, pieces and patterns
// with small n.
struct GoldbachSieveShape {
  std::uint32_t windowBits;  // a positive multiple of 64
  std::uint32_t pieceBits;   // a positive multiple of 64: the dense classes' unit
  // A prime's classes whose step, in bits, is at most this strike each piece
  // residue by residue; the others strike each window through a cursor.
  std::uint32_t largestDenseStep;
  // The primes above the wheel's, up to this one, are struck through
  // patterns (fewer of them when a pattern would be longer than the range),
  // and the odd primes up to it are checked one by one. At least 13: the
  // multiples of a sieving prime are struck from the wheel's block (210
  // numbers) that holds its square, and for 11 and 13 that block holds the
  // prime itself.
  int largestPatternPrime;
  // A pattern holds the product of its primes' periods, repeated until it
  // ends at a word boundary; primes share a pattern while it stays within
  // this many bits.
  std::int64_t patternBitsCap;
};

extern const GoldbachSieveShape kMeasuredSieveShape;

void forEachGoldbachPair(int n, int from, int to, const GoldbachSieveShape& shape,
                         const GoldbachVisitor& visit);
void forEachGoldbachRun(int n, int from, int to, const GoldbachSieveShape& shape,
                        const GoldbachRunVisitor& visit);

}  // namespace quorvantile
