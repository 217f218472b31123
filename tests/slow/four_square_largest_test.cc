// The four-square listing of the two largest entries, 2147483647 and
// 2147483646, written in full through the turn writer (tens of seconds):
// its line and byte counts, and the lines of chosen rows against the plain
// search, one of them a row the first pass cannot keep; and the sweep's store
// within its bytes at 2147483646, which fills it.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"
#include "console/sink.h"
#include "demos/four_square.h"
#include "demos/four_square_sweep.h"
#include "tests/support/four_square_search.h"

namespace quorvantile {

namespace {

// Counts the decomposition lines of one turn and their bytes, and keeps the
// lines whose largest root is one of `rows` (the turn's i's, by value).
class ListingSink : public Sink {
 public:
  ListingSink(int n, std::vector<std::int64_t> rows)
      : lead_("\t\t" + std::to_string(n) + "="), rows_(std::move(rows)), kept_(rows_.size()) {}

  bool write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const std::size_t end = bytes.find('\n');
      if (end == std::string_view::npos) {
        partial_.append(bytes);
        return true;
      }
      partial_.append(bytes.substr(0, end + 1));
      bytes.remove_prefix(end + 1);
      take(partial_);
      partial_.clear();
    }
    return true;
  }
  void setAttribute(std::uint8_t) override {}
  bool interactive() const override { return false; }

  std::int64_t lines = 0, bytes = 0;
  std::int64_t firstI = -1, lastI = -1;
  const std::string& kept(std::size_t row) const { return kept_[row]; }

 private:
  void take(const std::string& line) {
    if (line.compare(0, lead_.size(), lead_) != 0) return;
    ++lines;
    bytes += static_cast<std::int64_t>(line.size());
    const std::int64_t i = std::stoll(line.substr(lead_.size()));
    if (firstI < 0) firstI = i;
    lastI = i;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      if (rows_[r] == i) kept_[r] += line;
    }
  }

  std::string lead_;
  std::vector<std::int64_t> rows_;
  std::vector<std::string> kept_;
  std::string partial_;
};

// The plain search's lines for n whose largest root is i.
std::string plainLinesWithI(int n, std::int64_t i) {
  std::ostringstream out;
  forEachFourSquaresWithI(n, i, [&](const FourSquares& s) {
    out << "\t\t" << n << "=" << s.i << "x" << s.i << "+" << s.j << "x" << s.j << "+" << s.k << "x"
        << s.k << "+" << s.m << "x" << s.m << "\n";
    return true;
  });
  return out.str();
}

// The two largest entries in full, through the turn writer. The counts were
// found by an enumeration written apart from this program.
TEST(FourSquareLargest, CountsTheLinesAndMatchesThePlainSearchInSlices) {
  struct Entry {
    int n;
    std::int64_t lines, bytes;
  };
  for (Entry entry :
       {Entry{2147483647, 44747387, 2621095357}, Entry{2147483646, 125963344, 7378359820}}) {
    // The first and the last i with a decomposition (quick to find: near
    // either end few j fit), 32769 just past i² = n/2, and 43001, beyond
    // what the first pass can keep.
    std::int64_t first = 23171, last = 46340;
    while (plainLinesWithI(entry.n, first).empty()) ++first;
    while (plainLinesWithI(entry.n, last).empty()) --last;
    const std::vector<std::int64_t> rows = {first, 32769, 43001, last};
    ListingSink sink(entry.n, rows);
    std::stringbuf in;
    Console console(in, sink);
    writeFourSquareTurn(console, entry.n);
    console.finish();
    EXPECT_EQ(sink.lines, entry.lines) << entry.n;
    EXPECT_EQ(sink.bytes, entry.bytes) << entry.n;
    EXPECT_EQ(sink.firstI, first) << entry.n;
    EXPECT_EQ(sink.lastI, last) << entry.n;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const std::string plain = plainLinesWithI(entry.n, rows[r]);
      EXPECT_FALSE(plain.empty()) << entry.n << " " << rows[r];
      EXPECT_EQ(sink.kept(r), plain) << entry.n << " " << rows[r];
    }
  }
}

// 2147483646 fills the program's store: rows are dropped and found again,
// and the store still never holds more than its bytes.
TEST(FourSquareLargest, TheStoreStaysWithinItsBytes) {
  std::int64_t lines = 0;
  const FourSquareSweepStats stats =
      forEachFourSquareRun(2147483646, [&](std::int32_t, const std::uint32_t*, std::size_t count) {
        lines += static_cast<std::int64_t>(count);
        return true;
      });
  EXPECT_EQ(lines, 125963344);
  EXPECT_GT(stats.rowsDropped, 0);
  EXPECT_GT(stats.passes, 1);
  EXPECT_LE(stats.storePeakBytes, kMeasuredFourSquareShape.storeBytes);
}

}  // namespace

}  // namespace quorvantile
