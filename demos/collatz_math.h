// Collatz sequences in 64-bit arithmetic: every term from the start down to 1
// is handed to a callback, unless a term would leave the 64-bit range first.
#pragma once

#include <cstdint>
#include <functional>

namespace quorvantile {

struct CollatzWalk {
  std::int64_t steps = 0;  // transitions made: one less than the terms handed on
  bool leftRange = false;  // stopped because 3t+1 would exceed INT64_MAX
  std::int64_t last = 0;   // the last term handed on (1 unless leftRange)
};

// The largest odd term whose successor 3t+1 still fits in 64 bits.
constexpr std::int64_t kLargestTripledTerm = (INT64_MAX - 1) / 3;

// Hands every term of start's sequence to `onTerm`, the start first. `start`
// must be positive.
CollatzWalk walkCollatz(std::int64_t start, const std::function<void(std::int64_t)>& onTerm);

}  // namespace quorvantile
