#include "puzzles/wait_for_key.h"

#include "console/console.h"

namespace quorvantile {

void waitForKey(Console& console) {
  console << "\n\tPress any key to show the answer.";
  console.endl();
  // Whatever was typed before the prompt must not answer it.
  console.discardPending();
  console.readChar();
}

}  // namespace quorvantile
