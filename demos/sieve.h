// The sieve of Eratosthenes: the primes up to a bound, listed on request.
#pragma once

class Console;

void SieveEratosthenes(Console& console);
