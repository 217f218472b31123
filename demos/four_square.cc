#include "demos/four_square.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "console/color.h"
#include "console/console.h"
#include "console/decimal.h"
#include "demos/four_square_count.h"
#include "demos/four_square_entry.h"
#include "demos/four_square_sweep.h"
#include "demos/frame.h"
#include "demos/general_format.h"
#include "demos/integer_sqrt.h"

namespace quorvantile {

namespace {

// One field a line, as the frame reads them.
// clang-format off
constexpr DemoRow kFourSquareRow = {
    kExitNotice,  Prompt{"\n\tPlease input a positive integer:"},
    isPositive,   Rejection{"Invalid. Please input a positive integer:"},
    kNoQuickExit, "four-square",
};
// clang-format on

// Root cells "dxd+" for every root up to the square root of n, each in 16
// bytes with its length in the last byte, so that a line is a few fixed-size
// copies.
class RootCells {
 public:
  explicit RootCells(int n) : cells_(static_cast<std::size_t>(integerSqrt(n)) + 1) {
    std::string text;
    for (std::size_t d = 0; d < cells_.size(); ++d) {
      text.clear();
      appendDecimal(text, static_cast<std::int64_t>(d));
      text += 'x';
      appendDecimal(text, static_cast<std::int64_t>(d));
      text += '+';
      std::memcpy(cells_[d].data(), text.data(), text.size());
      cells_[d][kCellSize - 1] = static_cast<char>(text.size());
    }
  }
  // Copies the cell of d to `out`; returns the end of its text.
  char* put(char* out, std::size_t d) const {
    copy(out, d);
    return out + cells_[d][kCellSize - 1];
  }
  // Copies the cell of d to `out`, all kCellSize bytes of it.
  void copy(char* out, std::size_t d) const { std::memcpy(out, cells_[d].data(), kCellSize); }
  // The length of the text of the cell of d, from d² alone: "dxd+" holds d's
  // digits twice.
  static std::size_t cellLength(std::int64_t square) {
    const std::size_t digits =
        1 + (square >= 100) + (square >= 10000) + (square >= 1000000) + (square >= 100000000);
    return 2 * digits + 2;
  }
  static constexpr std::size_t kCellSize = 16;  // "46340x46340+" and a length

 private:
  std::vector<std::array<char, kCellSize>> cells_;
};

// Formats the decomposition lines into a block of its own and hands the
// console whole blocks: tens of millions of lines cannot afford a call per
// piece of text.
//
// The lines are written by the thread that finds them, between the sweep's
// windows: the program has one thread and one main loop on every platform.
// A second thread that wrote one batch of lines while the sweep found the
// next was tried and taken out again. On the largest listings it gained a
// few per cent through a pipe and at most a tenth to /dev/null (nothing on
// a busy machine, where it found no second core), for a lock, a build that
// differed by platform, and faults (what the writer touches while the sweep
// runs) that only a sanitizer finds. Gathering the lines of many rows into
// one batch before writing them, on this thread, gained 2-3%: too little
// for a second copy of every decomposition.
class DecompositionLines {
 public:
  explicit DecompositionLines(int n) : n_(n), cells_(n), block_(kBlockSize + kLineRoom) {
    appendDecimal(lead_, n);
    lead_ += '=';
  }

  // Writes the lines of one run; false once the console has failed.
  bool write(Console& console, std::int32_t i, const std::uint32_t* entries, std::size_t count) {
    if (i != i_) startRow(i);
    const std::int64_t rest = static_cast<std::int64_t>(n_) - static_cast<std::int64_t>(i) * i;
    // Kept in locals: the members would be read again after every byte
    // stored, which may alias them.
    char* const block = block_.data();
    char* out = block + used_;
    const std::size_t headSize = headSize_;
    for (std::size_t e = 0; e < count; ++e) {
      const std::int64_t j = highRoot(entries[e]), k = lowRoot(entries[e]);
      const std::int64_t mm = rest - j * j - k * k;
      // m² is a perfect square below 2^31, so its double root is exact.
      const auto m = static_cast<std::size_t>(std::sqrt(static_cast<double>(mm)));
      std::memcpy(out, head_, kHeadRoom);
      out += headSize;
      out = cells_.put(out, static_cast<std::size_t>(j));
      out = cells_.put(out, static_cast<std::size_t>(k));
      cells_.copy(out, m);
      // Where the next line starts comes from m² rather than from m's cell:
      // each line would otherwise wait for the square root of the one before.
      out += RootCells::cellLength(mm);
      out[-1] = '\n';
      // A block never passes kBlockSize + kLineRoom: it is handed over as soon
      // as it reaches kBlockSize, and one line takes at most kLineRoom.
      if (static_cast<std::size_t>(out - block) >= kBlockSize) {
        used_ = static_cast<std::size_t>(out - block);
        if (!handOver(console)) return false;
        out = block;
      }
    }
    used_ = static_cast<std::size_t>(out - block);
    return true;
  }

  void finish(Console& console) { handOver(console); }

 private:
  // A block is handed on once it holds this much: large enough that the
  // console's own copy and write are few, small enough to stay in cache, and
  // no smaller than the pieces the page's session log keeps without joining
  // them (64 KiB).
  static constexpr std::size_t kBlockSize = std::size_t{1} << 16;
  // Room for one more line past kBlockSize, fixed-size copies included.
  static constexpr std::size_t kLineRoom = 128;

  void startRow(std::int32_t i) {
    i_ = i;
    std::memcpy(head_, lead_.data(), lead_.size());
    char* end = cells_.put(head_ + lead_.size(), static_cast<std::size_t>(i));
    headSize_ = static_cast<std::size_t>(end - head_);
  }

  bool handOver(Console& console) {
    console << std::string_view(block_.data(), used_);
    console.flush();
    used_ = 0;
    return console.good();
  }

  int n_;
  RootCells cells_;
  std::vector<char> block_;
  std::size_t used_ = 0;
  std::string lead_ = "\t\t";  // "\t\t<n>=", which opens every line
  std::int32_t i_ = -1;
  // "\t\t<n>=<i>x<i>+": two tabs, ten digits and "=" at most, then a cell
  // copied whole.
  static constexpr std::size_t kHeadRoom = 2 + 10 + 1 + RootCells::kCellSize;
  char head_[kHeadRoom] = {};
  std::size_t headSize_ = 0;
};

void writeHeading(Console& console) {
  setGreenonBlack(console);
  console << "\n\t----------------Four-square Theorem--------------------";
  console.endl();
  console << "\n\tFour-square Theorem: Each positive integer may be expressed ";
  console << "\n\tas the sum of the squares of four integers.";
  console.endl();
  setWhiteonBlack(console);
}

}  // namespace

void writeFourSquareTurn(Console& console, int n) {
  DecompositionLines lines(n);
  forEachFourSquareRun(n, [&](std::int32_t i, const std::uint32_t* entries, std::size_t count) {
    return lines.write(console, i, entries, count);
  });
  lines.finish(console);
  // The loops run i from 0 to (n+1)/2; n + 1 may not fit in an int.
  const auto loopBound = static_cast<std::uint32_t>((static_cast<std::int64_t>(n) + 1) / 2);
  console << "\n\tThe total loop is " << formatGeneral(passCountDigits(loopBound)) << ".";
  console.endl();
}

void FourSquare(Console& console) {
  writeHeading(console);
  runDemonstration(console, kFourSquareRow,
                   {nullptr, [&](int n) { writeFourSquareTurn(console, n); }});
}

}  // namespace quorvantile
