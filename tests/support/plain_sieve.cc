#include "tests/support/plain_sieve.h"

#include <cstdint>

std::vector<char> primeFlags(int limit) {
  std::vector<char> isPrime(static_cast<std::size_t>(limit) + 1, 1);
  isPrime[0] = 0;
  if (limit >= 1) isPrime[1] = 0;
  for (std::int64_t i = 2; i * i <= limit; ++i) {
    if (!isPrime[i]) continue;
    for (std::int64_t j = i * i; j <= limit; j += i) isPrime[j] = 0;
  }
  return isPrime;
}

std::vector<int> primesUpTo(int limit) {
  const std::vector<char> isPrime = primeFlags(limit);
  std::vector<int> primes;
  for (int k = 2; k <= limit; ++k) {
    if (isPrime[k]) primes.push_back(k);
  }
  return primes;
}
