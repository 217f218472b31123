// Ben says Bob lies, Bob says Bill lies, Bill says they all lie: who lies?
#pragma once

#include <vector>

namespace quorvantile {

class Console;

struct Speakers {
  int x, y, z;  // 1 when Ben, Bob and Bill tell the truth, 0 when they lie
};

// Every assignment of truth and lies that agrees with all three statements.
std::vector<Speakers> solveTruthLies();

void TruthLies(Console& console);

}  // namespace quorvantile
