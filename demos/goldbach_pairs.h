// The splits of an even number into two primes, found by a segmented sieve
// rather than by a primality test per candidate: exact for every even number
// up to 2147483646, in little memory.
#pragma once

#include <functional>

// Called with each split n = p + q, p <= q; returns false to stop.
using GoldbachVisitor = std::function<bool(int p, int q)>;

// Visits every split of `n` into two primes, in increasing order of the
// smaller summand. Nothing is visited for odd n or n < 4.
void forEachGoldbachPair(int n, const GoldbachVisitor& visit);

// The same, restricted to the splits whose smaller summand p lies in
// [from, to].
void forEachGoldbachPair(int n, int from, int to, const GoldbachVisitor& visit);
