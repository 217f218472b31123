// The demonstrations' searches as plain loops, exactly as a first version
// would write them: the reference that tests compare the real turns against
// and that benchmarks measure them against. Sums are 64-bit so they cannot wrap.
#pragma once

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "console/console.h"
#include "tests/support/capture.h"

// What one turn writer puts out for `n`, colour left out.
inline std::string turnText(void (*writeTurn)(quorvantile::Console&, int), int n) {
  return capture([&](quorvantile::Console& console) { writeTurn(console, n); });
}

// Four nested loops over every quadruple under L = (n+1)/2, a double counter.
inline std::string literalFourSquareTurn(int n) {
  std::ostringstream out;
  double count = 0;
  const int bound = (n + 1) / 2;
  for (int i = 0; i <= bound; ++i) {
    for (int j = 0; j <= i; ++j) {
      for (int k = 0; k <= j; ++k) {
        for (int m = 0; m <= k; ++m) {
          count += 1;
          if (i * i + j * j + k * k + m * m == n) {
            out << "\t\t" << n << "=" << i << "x" << i << "+" << j << "x" << j << "+" << k << "x"
                << k << "+" << m << "x" << m << "\n";
          }
        }
      }
    }
  }
  char total[32];
  std::snprintf(total, sizeof total, "%g", count);
  out << "\n\tThe total loop is " << total << ".\n";
  return out.str();
}

// The double loop over first and last odd term, run to its bounds after every
// match. With `starts` > 0 only that many odd starts are tried: at 888 each
// start costs about cube/2 additions and the whole loop runs for minutes.
inline std::string literalNicomachusTurn(int n, std::int64_t starts = 0) {
  std::ostringstream out;
  const std::int64_t cube = static_cast<std::int64_t>(n) * n * n;
  const std::int64_t startLimit = starts > 0 ? 2 * starts : cube;
  for (std::int64_t i = 1; i < cube && i < startLimit; i += 2) {
    std::int64_t sum = 0;
    for (std::int64_t j = i; j < cube; j += 2) {
      sum += j;
      if (sum == cube) {
        out << "\n\t" << cube << "=";
        for (std::int64_t k = i; k < j; k += 2) out << k << "+";
        out << j << "\n";
        if (cube > 125000) {
          out << "\n\tThre are many other solutions.\n";
          i = cube;
        }
      }
    }
  }
  return out.str();
}
