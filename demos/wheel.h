// The wheel of the primes 2, 3, 5 and 7, whose multiples repeat every 210
// numbers. Both sieves leave those primes to it instead of striking their
// multiples one by one: the sieve of Eratosthenes ANDs its bits with the
// pattern of one turn, and the Goldbach sieve gives bits only to the numbers
// that a turn spares.
#pragma once

#include <vector>

namespace quorvantile {

constexpr int kWheelPrimes[] = {2, 3, 5, 7};
constexpr int kLargestWheelPrime = 7;
// One turn of the whole wheel: the product of its primes.
constexpr int kWheelTurn = 2 * 3 * 5 * 7;

// Whether the wheel primes up to `largest` all spare k: k is congruent
// neither to 0 nor to `n` modulo any of them. With n = 0 these are the
// numbers prime to those primes; the Goldbach sieve passes its even number
// to leave out the summands whose partner n - k they divide as well.
bool wheelSpares(int k, int n, int largest = kLargestWheelPrime);

// The turn of the wheel primes up to `largest` (their product, 1 when there
// are none) and the residues in [0, turn) that they spare, ascending.
struct WheelTurn {
  int modulus;
  std::vector<int> residues;
};
WheelTurn wheelTurn(int n, int largest = kLargestWheelPrime);

}  // namespace quorvantile
