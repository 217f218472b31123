#include "console/color.h"

#include "console/console.h"

namespace quorvantile {

namespace {

// Console colour bits are blue 1, green 2, red 4; ANSI numbers its eight
// colours red 1, green 2, blue 4. Intensity selects the bright range.
int ansiColor(std::uint8_t nibble, int normalBase, int brightBase) {
  int index = ((nibble & 4) ? 1 : 0) | ((nibble & 2) ? 2 : 0) | ((nibble & 1) ? 4 : 0);
  return ((nibble & 8) ? brightBase : normalBase) + index;
}

}  // namespace

std::string ansiSequence(std::uint8_t attribute) {
  int foreground = ansiColor(attribute & 0x0F, 30, 90);
  int background = ansiColor(attribute >> 4, 40, 100);
  return "\x1b[" + std::to_string(foreground) + ";" + std::to_string(background) + "m";
}

void setRedonBlack(Console& console) { console.setAttribute(kRedOnBlack); }
void setGreenonBlack(Console& console) { console.setAttribute(kGreenOnBlack); }
void setWhiteonBlack(Console& console) { console.setAttribute(kWhiteOnBlack); }
void setRedonWhite(Console& console) { console.setAttribute(kRedOnWhite); }
void setBlackonWhite(Console& console) { console.setAttribute(kBlackOnWhite); }
void setGreenonWhite(Console& console) { console.setAttribute(kGreenOnWhite); }

}  // namespace quorvantile
