#include "app/farewell.h"

#include "console/color.h"
#include "console/console.h"

namespace quorvantile {

// Each line: a tab and 59 columns, drawn with . : ' ` and blanks only; the
// caption stands on line 3 and the credit on line 7, right of the figure.
const std::array<std::string_view, kLadyLines> kLady = {
    "\t                 .::.                                      ",
    "\t          `.    ::::::                                     ",
    "\t            `.  `::::'  .'     I Love C++                  ",
    "\t              `. .::. .'                                   ",
    "\t                `::::::'                                   ",
    "\t                  ::::                                     ",
    "\t                .::::::.         drawn for Quorvantile     ",
    "\t               ::::::::::                                  ",
    "\t                `::::::'                                   ",
    "\t                .::::::::.                                 ",
    "\t              .::::::::::::.                               ",
    "\t           .::::::::::::::::::.                            ",
    "\t        .:::::::::::::::::::::::::.                        ",
    "\t     .:::::::::::::::::::::::::::::::::..                  ",
    "\t   .::::::::::::::::::::::::::::::::::::::::::...          ",
    "\t  `::::::::::::::::::::::::::::::::::::::::::::::::::::::. ",
    "\t     `'':::::'''````   :  :   ````'''':::::::::::::::::''` ",
    "\t                      .'  `.                               ",
};

void printLady(Console& console) {
  setGreenonBlack(console);
  for (std::string_view line : kLady) {
    console << line;
    console.endl();
  }
  setWhiteonBlack(console);
}

}  // namespace quorvantile
