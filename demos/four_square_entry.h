// Two roots packed in 32 bits, the first in the high half: a decomposition
// (j, k) as the sweep hands it on (its i and n give m), and a point (i, j)
// inside the sweep. Every root of a positive int lies below 46341 < 2^16.
#pragma once

#include <cstdint>

namespace quorvantile {

constexpr int kRootBits = 16;
constexpr std::uint32_t kRootMask = (std::uint32_t{1} << kRootBits) - 1;

constexpr std::uint32_t packRoots(std::int64_t high, std::int64_t low) {
  return static_cast<std::uint32_t>(high) << kRootBits | static_cast<std::uint32_t>(low);
}
constexpr std::uint32_t highRoot(std::uint32_t pair) { return pair >> kRootBits; }
constexpr std::uint32_t lowRoot(std::uint32_t pair) { return pair & kRootMask; }

}  // namespace quorvantile
