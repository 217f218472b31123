// Every way of writing n as i²+j²+k²+m² with i >= j >= k >= m >= 0, in the
// order of i, then j, k and m ascending, found by matching sums of two
// squares: nothing is factored and no quadruple is tried in vain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quorvantile {

// Called with consecutive decompositions of n that share the largest root i,
// in order: each entry packs j and k (demos/four_square_entry.h), and m is
// the root of n - i² - j² - k². Returns false to stop the enumeration.
using FourSquareRunVisitor =
    std::function<bool(std::int32_t i, const std::uint32_t* entries, std::size_t count)>;

// The widest window: the sweep's batch of lookups keeps room for one row's
// lookups in a window this wide, and its buckets (4 bytes a value) are meant
// to stay in a level-2 cache.
constexpr std::int64_t kMostWindowValues = std::int64_t{1} << 17;

// How the sweep cuts up its work. Every shape gives the same decompositions;
// the program's (kMeasuredFourSquareShape) was chosen for speed and memory.
// Tests pass tiny ones so that rows cross many window edges and the store
// fills many times over.
struct FourSquareSweepShape {
  // Values of u = i² + j² per window, 1 to kMostWindowValues.
  std::int64_t windowValues;
  // Bytes the store may hold for the rows that cannot be handed on yet
  // (about 3 a decomposition), at least one chunk's: what does not fit is
  // found again by a later pass, so this bounds the memory, not the output.
  // One row alone may go beyond it, so that every pass hands on at least one
  // row.
  std::size_t storeBytes;
  // Lookups that met a bucket with points, gathered before their buckets are
  // walked so that the walks' memory accesses overlap; at least 1.
  std::size_t lookupBatch;
  // The share of the store a later pass plans to fill, from what earlier
  // passes saw of its rows (see planRows in the sweep): above 0, at most 1.
  double plannedFill;
};

constexpr FourSquareSweepShape kMeasuredFourSquareShape = {
    // Its bucket heads (4 bytes a value), bits and points then fit a 1 MB
    // level-2 cache, while the cost of visiting every open row and every k
    // once per window stays small beside the points (narrower and wider
    // windows measured slower).
    kMostWindowValues,
    // 48 MB: the largest entries take 3 passes (2^31 - 1) and 7 (2^31 - 2),
    // and the whole process stays near 54 MB.
    std::size_t{48} << 20,
    // A few kilobytes of lookups.
    2048,
    // The estimates run low (a row's matches come more densely late in its
    // range), and a plan that runs over wastes the matches it drops; one that
    // stops short can cost a pass. 0.75 measured best at 2^31 - 1 and - 2.
    0.75,
};

// What one enumeration did.
struct FourSquareSweepStats {
  int passes = 0;
  std::int64_t windows = 0;
  std::int64_t rowsDropped = 0;    // rows given back, to be found again
  std::size_t storePeakBytes = 0;  // the most the store held at once
};

// Hands every decomposition of n (1 <= n <= 2^31 - 1) to `visit`, in order,
// in runs; stops early when `visit` returns false. The shape must keep the
// limits given at each of its settings (asserted).
FourSquareSweepStats forEachFourSquareRun(
    std::int32_t n, const FourSquareRunVisitor& visit,
    const FourSquareSweepShape& shape = kMeasuredFourSquareShape);

}  // namespace quorvantile
