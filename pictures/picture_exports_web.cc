// The pictures' numbers (picture_data.h) for the web page's script
// (web/pictures/demonstrations.js), which calls these on the running
// program's module while the program waits. Each returns one JSON object
// from malloc, NUL-ended, that names what it holds: whole numbers,
// true/false, lists of whole numbers and lists of such lists. A whole number
// a double cannot hold exactly (past 2^53) is written as a string of its
// digits. The page decodes it in one place (decodeRecord in
// web/pictures/demonstrations.js) and hands the block to picture_free. Built
// into the web edition only (web/CMakeLists.txt).
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "pictures/picture_data.h"

// The exports are C functions, outside the program's namespace.
using namespace quorvantile;

namespace {

// Doubles hold every whole number up to this one exactly.
constexpr std::int64_t kExactInDouble = std::int64_t{1} << 53;

class Record {
 public:
  Record& whole(const char* name, std::int64_t value) {
    key(name);
    append(value);
    return *this;
  }

  Record& flag(const char* name, bool value) {
    key(name);
    text_ += value ? "true" : "false";
    return *this;
  }

  template <typename Whole>
  Record& list(const char* name, const std::vector<Whole>& values) {
    key(name);
    appendList(values);
    return *this;
  }

  template <typename Row>
  Record& rows(const char* name, const std::vector<Row>& values) {
    key(name);
    text_ += '[';
    for (std::size_t k = 0; k < values.size(); ++k) {
      if (k > 0) text_ += ',';
      appendList(values[k]);
    }
    text_ += ']';
    return *this;
  }

  // The object, in memory the page frees with picture_free; null when there
  // is no memory left.
  char* release() {
    text_ += '}';
    auto* out = static_cast<char*>(std::malloc(text_.size() + 1));
    if (out == nullptr) return nullptr;
    std::memcpy(out, text_.c_str(), text_.size() + 1);
    return out;
  }

 private:
  void key(const char* name) {
    text_ += text_.size() > 1 ? ",\"" : "\"";
    text_ += name;
    text_ += "\":";
  }

  void append(std::int64_t value) {
    const bool exact = value <= kExactInDouble && value >= -kExactInDouble;
    if (!exact) text_ += '"';
    text_ += std::to_string(value);
    if (!exact) text_ += '"';
  }

  template <typename List>
  void appendList(const List& values) {
    text_ += '[';
    bool first = true;
    for (auto value : values) {
      if (!first) text_ += ',';
      first = false;
      append(static_cast<std::int64_t>(value));
    }
    text_ += ']';
  }

  std::string text_ = "{";
};

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void picture_free(char* data) { std::free(data); }

EMSCRIPTEN_KEEPALIVE char* picture_goldbach_comet(int n) {
  const GoldbachComet comet = goldbachComet(n);
  return Record().whole("bound", comet.bound).list("counts", comet.counts).release();
}

// The first `keep` smaller summands and, counted by `runs` runs of p, the
// splits of n.
EMSCRIPTEN_KEEPALIVE char* picture_goldbach_pairs(int n, int keep, int runs) {
  const GoldbachPairs pairs = goldbachPairs(n, keep, runs);
  return Record()
      .flag("counted", pairs.counted)
      .whole("count", pairs.count)
      .list("smaller", pairs.smaller)
      .list("runStarts", pairs.runStarts)
      .list("runCounts", pairs.runCounts)
      .release();
}

// The splits whose smaller summand lies in [from, to].
EMSCRIPTEN_KEEPALIVE char* picture_goldbach_count(int n, int from, int to) {
  return Record().whole("count", goldbachPairCount(n, from, to)).release();
}

EMSCRIPTEN_KEEPALIVE char* picture_collatz(int n) {
  const CollatzPath path = collatzPath(n);
  std::vector<std::int64_t> terms(path.terms.begin(), path.terms.end());
  return Record()
      .whole("steps", path.steps)
      .whole("peak", path.peak)
      .whole("peakStep", path.peakStep)
      .flag("leftRange", path.leftRange)
      .list("terms", terms)
      .release();
}

// The sums of the square's bands, the runs n's turn writes and the run of n
// odd numbers, each run as [first, last, count].
EMSCRIPTEN_KEEPALIVE char* picture_nicomachus(int n) {
  const NicomachusSums sums = nicomachusSums(n);
  std::vector<std::vector<std::int64_t>> written;
  for (const OddRun& run : sums.written) written.push_back({run.first, run.last(), run.count});
  const OddRun& band = sums.band;
  return Record()
      .list("sides", sums.sides)
      .list("cubeSums", sums.cubeSums)
      .rows("written", written)
      .flag("more", sums.more)
      .list("band", band.count > 0 ? std::vector<std::int64_t>{band.first, band.last(), band.count}
                                   : std::vector<std::int64_t>{})
      .release();
}

// Decompositions from number `first` (a double: it may pass 2^31).
EMSCRIPTEN_KEEPALIVE char* picture_four_squares(int n, double first, int keep) {
  const FourSquareWindow window = fourSquareWindow(n, static_cast<std::int64_t>(first), keep);
  std::vector<std::vector<std::int32_t>> roots;
  for (const auto& r : window.roots) roots.push_back({r.i, r.j, r.k, r.m});
  return Record()
      .whole("count", window.count)
      .flag("complete", window.complete)
      .whole("first", static_cast<std::int64_t>(first))
      .rows("roots", roots)
      .release();
}

EMSCRIPTEN_KEEPALIVE char* picture_sieve(int n) {
  const SievePicture picture = sievePicture(n);
  return Record()
      .whole("count", picture.count)
      .list("factors", picture.smallestFactor)
      .list("curveX", picture.curveX)
      .list("curvePi", picture.curvePi)
      .release();
}

}  // extern "C"
