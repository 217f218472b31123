// The pictures' numbers (pictures/picture_data.h) for the page's script
// (web/pictures.js), which calls these on the running program's module while
// the program waits. Each returns a block of doubles from malloc: element 0
// holds the number of elements after it, the rest is laid out as described
// at each function; the page copies it out and hands it to picture_free.
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "pictures/picture_data.h"

// The exports are C functions, outside the program's namespace.
using namespace quorvantile;

namespace {

double* block(const std::vector<double>& values) {
  auto* out = static_cast<double*>(std::malloc((values.size() + 1) * sizeof(double)));
  if (out == nullptr) return nullptr;
  out[0] = static_cast<double>(values.size());
  for (std::size_t k = 0; k < values.size(); ++k) out[k + 1] = values[k];
  return out;
}

// A 64-bit value as two exact doubles, high and low 32 bits.
void appendWide(std::vector<double>& values, std::int64_t value) {
  values.push_back(static_cast<double>(value >> 32));
  values.push_back(static_cast<double>(value & 0xFFFFFFFF));
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void picture_free(double* data) { std::free(data); }

// bound, then the pair count of every even m = 0, 2, ..., bound.
EMSCRIPTEN_KEEPALIVE double* picture_goldbach_comet(int n) {
  GoldbachComet comet = goldbachComet(n);
  std::vector<double> values{static_cast<double>(comet.bound)};
  values.insert(values.end(), comet.counts.begin(), comet.counts.end());
  return block(values);
}

// count (-1 when not counted), then the first `keep` smaller summands.
EMSCRIPTEN_KEEPALIVE double* picture_goldbach_pairs(int n, int keep) {
  GoldbachPairs pairs = goldbachPairs(n, keep);
  std::vector<double> values{pairs.counted ? static_cast<double>(pairs.count) : -1.0};
  values.insert(values.end(), pairs.smaller.begin(), pairs.smaller.end());
  return block(values);
}

// The count of n's splits whose smaller summand lies in [from, to].
EMSCRIPTEN_KEEPALIVE double* picture_goldbach_count(int n, int from, int to) {
  return block({static_cast<double>(goldbachPairCount(n, from, to))});
}

// steps, peak step, peak (high, low), left range (0/1), then the terms.
EMSCRIPTEN_KEEPALIVE double* picture_collatz(int n) {
  CollatzPath path = collatzPath(n);
  std::vector<double> values{static_cast<double>(path.steps), static_cast<double>(path.peakStep)};
  appendWide(values, path.peak);
  values.push_back(path.leftRange ? 1.0 : 0.0);
  values.insert(values.end(), path.terms.begin(), path.terms.end());
  return block(values);
}

// For k = 1..n in turn: the side 1+...+k and the sum 1³+...+k³; nothing
// past the limit.
EMSCRIPTEN_KEEPALIVE double* picture_nicomachus(int n) {
  NicomachusSums sums = nicomachusSums(n);
  std::vector<double> values;
  for (std::size_t k = 0; k < sums.sides.size(); ++k) {
    values.push_back(static_cast<double>(sums.sides[k]));
    values.push_back(static_cast<double>(sums.cubeSums[k]));
  }
  return block(values);
}

// count, complete (0/1), then i, j, k, m of each decomposition from `first`.
EMSCRIPTEN_KEEPALIVE double* picture_four_squares(int n, double first, int keep) {
  FourSquareWindow window = fourSquareWindow(n, static_cast<std::int64_t>(first), keep);
  std::vector<double> values{static_cast<double>(window.count), window.complete ? 1.0 : 0.0};
  for (const auto& r : window.roots) values.insert(values.end(), {double(r.i), double(r.j), double(r.k), double(r.m)});
  return block(values);
}

// count, grid size (n+1 or 0), curve points, then the smallest factors of
// 0..n, then the curve's x values and its π(x) values.
EMSCRIPTEN_KEEPALIVE double* picture_sieve(int n) {
  SievePicture picture = sievePicture(n);
  std::vector<double> values{static_cast<double>(picture.count),
                             static_cast<double>(picture.smallestFactor.size()),
                             static_cast<double>(picture.curveX.size())};
  values.insert(values.end(), picture.smallestFactor.begin(), picture.smallestFactor.end());
  values.insert(values.end(), picture.curveX.begin(), picture.curveX.end());
  values.insert(values.end(), picture.curvePi.begin(), picture.curvePi.end());
  return block(values);
}

}  // extern "C"
