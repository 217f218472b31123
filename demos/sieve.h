// The sieve of Eratosthenes: the primes up to a bound, listed on request.
#pragma once

namespace quorvantile {

class Console;

void SieveEratosthenes(Console& console);

}  // namespace quorvantile
