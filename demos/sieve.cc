#include "demos/sieve.h"

#include "console/console.h"

// Not built yet: the entry returns at once.
void SieveEratosthenes(Console&) {}
