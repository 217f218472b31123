// Three brides A, B, C and three grooms X, Y, Z; the statements of A, X and C
// are all false. Who marries whom?
#pragma once

#include <vector>

namespace quorvantile {

class Console;

struct Couples {
  char x, y, z;  // the brides of grooms X, Y and Z
};

// Every assignment of brides to grooms that fits the riddle, in search order.
std::vector<Couples> solveBrideGroom();

void BrideGroom(Console& console);

}  // namespace quorvantile
