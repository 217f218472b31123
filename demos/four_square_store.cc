#include "demos/four_square_store.h"

#include <algorithm>

namespace quorvantile {

namespace {

// Chunks per block at most: 1 MB, few enough allocations for a store of tens
// of megabytes. A smaller limit takes smaller blocks, so that the store's
// memory stays within it.
constexpr int kMostBlockShift = 12;

}  // namespace

FourSquareStore::FourSquareStore(std::size_t limitBytes) {
  const std::size_t chunks = std::max<std::size_t>(limitBytes / sizeof(FourSquareChunk), 1);
  blockShift_ = 0;
  while (blockShift_ < kMostBlockShift && std::size_t{2} << blockShift_ <= chunks) ++blockShift_;
  blockChunks_ = std::size_t{1} << blockShift_;
  blockMask_ = static_cast<std::uint32_t>(blockChunks_ - 1);
  limit_ = chunks / blockChunks_ * blockChunks_;
}

void FourSquareStore::release(FourSquareRow& row) {
  if (row.first == kNoChunk) return;
  chunk(row.last).next = free_;
  free_ = row.first;
  row.first = row.last = kNoChunk;
  row.used = 0;
}

std::uint32_t FourSquareStore::take(bool beyondLimit) {
  if (free_ != kNoChunk) {
    const std::uint32_t taken = free_;
    free_ = chunk(taken).next;
    return taken;
  }
  if (count_ >= limit_ && !beyondLimit) return kNoChunk;
  // Memory is taken a block at a time as chunks are used: never reserved
  // ahead, never copied.
  if ((count_ & blockMask_) == 0) blocks_.emplace_back(new FourSquareChunk[blockChunks_]);
  return static_cast<std::uint32_t>(count_++);
}

}  // namespace quorvantile
