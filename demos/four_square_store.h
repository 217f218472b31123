// Where the sweep keeps the matches of rows (one i each) that it cannot hand
// on yet: per row a chain of fixed-size chunks of 16-bit units, taken from
// blocks up to a limit of bytes and given back a whole chain at a time.
//
// A row's units spell its matches in order: k (below 2^15), preceded by a
// jump unit, kJumpFlag plus the step from the previous j, whenever j changes
// (a row's js span less than 2^15). About half the matches start a new j, so
// a match takes about 3 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "demos/bit_ops.h"

namespace quorvantile {

constexpr std::uint16_t kJumpFlag = 0x8000;

// Units per chunk, beside one link: 256 bytes, so that the partly filled
// last chunk of each open row wastes little.
constexpr std::size_t kChunkUnits = 126;

struct FourSquareChunk {
  std::uint32_t next;
  std::uint16_t units[kChunkUnits];
};

constexpr std::uint32_t kNoChunk = UINT32_MAX;

// One i's place in the sweep and its matches so far.
struct FourSquareRow {
  std::int32_t jNext = 0;          // the next j whose point (i, j) looks up its bucket
  std::int32_t jLast = 0;          // the row's largest j: min(i, root of n - i²)
  std::uint32_t first = kNoChunk;  // the chain of chunks holding its units
  std::uint32_t last = kNoChunk;
  std::uint32_t used = 0;   // units in the last chunk
  std::uint32_t kept = 0;   // units in all
  std::int32_t jFirst = 0;  // the j that the row's first jump unit steps from
  std::int32_t jKept = 0;   // the j of the last match kept
};

class FourSquareStore {
 public:
  // Holds at most `limitBytes` (at least one chunk), rounded down to whole
  // blocks, unless appends go beyond the limit on purpose.
  explicit FourSquareStore(std::size_t limitBytes);

  std::size_t capacityUnits() const { return limit_ * kChunkUnits; }
  // The bytes of the blocks taken so far: chunks given back are used again
  // before a new block is taken, so this is also the most ever held.
  std::size_t peakBytes() const { return blocks_.size() * blockChunks_ * sizeof(FourSquareChunk); }

  // Appends to `row`; false when the limit is reached, nothing is free and
  // `beyondLimit` is not set.
  bool append(FourSquareRow& row, std::uint16_t unit, bool beyondLimit) {
    if (row.last != kNoChunk && row.used < kChunkUnits) {
      chunk(row.last).units[row.used++] = unit;
      return true;
    }
    const std::uint32_t taken = take(beyondLimit);
    if (taken == kNoChunk) return false;
    chunk(taken).next = kNoChunk;
    if (row.last == kNoChunk) {
      row.first = taken;
    } else {
      chunk(row.last).next = taken;
    }
    row.last = taken;
    row.used = 0;
    chunk(taken).units[row.used++] = unit;
    return true;
  }

  // Asks for the place of the row's next unit ahead of its append: the rows
  // a window appends to are scattered over the whole store.
  void prefetchTail(const FourSquareRow& row) const {
    if (row.last != kNoChunk) prefetchRead(chunk(row.last).units + row.used);
  }

  // Gives the row's chunks back; its counts are the caller's.
  void release(FourSquareRow& row);

  // Hands the row's units to `visitChunk`, chunk by chunk, in order; false
  // once `visitChunk` returns false.
  template <typename Visit>
  bool visit(const FourSquareRow& row, Visit&& visitChunk) const {
    for (std::uint32_t c = row.first; c != kNoChunk; c = chunk(c).next) {
      // The chain is scattered: its next chunk is asked for while this one
      // is read.
      if (chunk(c).next != kNoChunk) prefetchRead(&chunk(chunk(c).next));
      const std::size_t count = c == row.last ? row.used : kChunkUnits;
      if (!visitChunk(chunk(c).units, count)) return false;
    }
    return true;
  }

 private:
  FourSquareChunk& chunk(std::uint32_t c) { return blocks_[c >> blockShift_][c & blockMask_]; }
  const FourSquareChunk& chunk(std::uint32_t c) const {
    return blocks_[c >> blockShift_][c & blockMask_];
  }

  std::uint32_t take(bool beyondLimit);

  int blockShift_;  // chunks per block: a power of two, at most the limit
  std::size_t blockChunks_;
  std::uint32_t blockMask_;
  std::size_t limit_;  // in chunks, whole blocks
  std::vector<std::unique_ptr<FourSquareChunk[]>> blocks_;
  std::size_t count_ = 0;  // chunks handed out so far
  std::uint32_t free_ = kNoChunk;
};

}  // namespace quorvantile
