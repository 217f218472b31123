#include "puzzles/truth_lies.h"

#include "console/color.h"
#include "console/console.h"
#include "puzzles/wait_for_key.h"

namespace quorvantile {

std::vector<Speakers> solveTruthLies() {
  std::vector<Speakers> solutions;
  for (int x = 0; x <= 1; ++x) {
    for (int y = 0; y <= 1; ++y) {
      for (int z = 0; z <= 1; ++z) {
        bool ben = (x && !y) || (!x && y);
        bool bob = (y && !z) || (!y && z);
        // Bill speaks of Ben and Bob: if he is right, both lie.
        bool bill = (z && !x && !y) || (!z && x + y != 0);
        if (ben && bob && bill) solutions.push_back({x, y, z});
      }
    }
  }
  return solutions;
}

void TruthLies(Console& console) {
  setGreenonBlack(console);
  for (const char* line :
       {"\n\tBen says that Bob is lying.", "\n\tBob says that Bill is lying.",
        "\n\tBill says that they are all lying.", "\n\tThen, do you know who is lying?"}) {
    console << line;
    console.endl();
  }
  setWhiteonBlack(console);
  waitForKey(console);

  for (const Speakers& s : solveTruthLies()) {
    console << (s.x ? "\n\tBen is true." : "\n\tBen is lying.");
    console.endl();
    console << (s.y ? "\n\tBob is true." : "\n\tBob is lying.");
    console.endl();
    console << (s.z ? "\n\tBill is true." : "\n\tBill is lying.");
    console.endl();
  }
}

}  // namespace quorvantile
