#include "demos/collatz_math.h"

namespace quorvantile {

CollatzWalk walkCollatz(std::int64_t start, const std::function<void(std::int64_t)>& onTerm) {
  CollatzWalk walk;
  std::int64_t t = start;
  onTerm(t);
  while (t != 1) {
    if ((t & 1) == 0) {
      t /= 2;
    } else if (t > kLargestTripledTerm) {
      walk.leftRange = true;
      break;
    } else {
      t = 3 * t + 1;
    }
    ++walk.steps;
    onTerm(t);
  }
  walk.last = t;
  return walk;
}

}  // namespace quorvantile
