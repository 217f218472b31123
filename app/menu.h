// The main menu: the box, the loop that reads a choice and runs the chosen
// feature, and the pause before the menu comes back.
#pragma once

namespace quorvantile {

class Console;

void showMenu(Console& console);
void selection(Console& console);
// Runs menu turns until Exit is chosen or the input ends.
void runMenu(Console& console);

}  // namespace quorvantile
