// The sieve of Eratosthenes as first taught, one byte per number: the
// reference that the program's sieves are checked against.
#pragma once

#include <vector>

// isPrime[k] for every k from 0 to `limit` (limit >= 0).
std::vector<char> primeFlags(int limit);

// The primes up to `limit`, ascending.
std::vector<int> primesUpTo(int limit);
