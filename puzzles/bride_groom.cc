#include "puzzles/bride_groom.h"

#include "console/color.h"
#include "console/console.h"
#include "puzzles/wait_for_key.h"

namespace quorvantile {

std::vector<Couples> solveBrideGroom() {
  std::vector<Couples> solutions;
  for (char x = 'A'; x <= 'C'; ++x) {
    for (char y = 'A'; y <= 'C'; ++y) {
      for (char z = 'A'; z <= 'C'; ++z) {
        bool fits = x != 'A'                        // A: "I will marry X." is false
                    && x != 'C'                     // X: "My fiance is C." is false
                    && z != 'C'                     // C: "I will marry Z." is false
                    && x != y && x != z && y != z;  // no bride marries twice
        if (fits) solutions.push_back({x, y, z});
      }
    }
  }
  return solutions;
}

void BrideGroom(Console& console) {
  setGreenonBlack(console);
  for (const char* line : {"\n\tThere are 3 brides (A, B, C) and 3 grooms (X, Y, Z).",
                           "\n\tA: I will marry X.", "\n\tX: My fiance is C.",
                           "\n\tC: I will marry Z.", "\n\tIt is known that they are all kidding.",
                           "\n\tThen, do you know who and who are a couple?"}) {
    console << line;
    console.endl();
  }
  setWhiteonBlack(console);
  waitForKey(console);

  for (const Couples& couples : solveBrideGroom()) {
    console << "\n\tThe groom X's bride is " << couples.x << ".";
    console.endl();
    console << "\tThe groom Y's bride is " << couples.y << ".";
    console.endl();
    console << "\tThe groom Z's bride is " << couples.z << ".";
    console.endl();
  }
  console.endl();
}

}  // namespace quorvantile
