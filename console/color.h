// The six colour operations. A colour is a console attribute byte: low nibble
// the foreground, high nibble the background, each blue 1, green 2, red 4,
// intensity 8. The operations write no text; they change the colour of what
// is written after them.
#pragma once

#include <cstdint>
#include <string>

namespace quorvantile {

class Console;

constexpr std::uint8_t kRedOnBlack = 0x0C;
constexpr std::uint8_t kGreenOnBlack = 0x0A;
constexpr std::uint8_t kWhiteOnBlack = 0x0F;
constexpr std::uint8_t kRedOnWhite = 0xFC;
constexpr std::uint8_t kBlackOnWhite = 0xF0;
constexpr std::uint8_t kGreenOnWhite = 0xFA;

// The ANSI SGR sequence that shows exactly the attribute's colours, for
// terminals without the Windows console interface.
std::string ansiSequence(std::uint8_t attribute);

void setRedonBlack(Console& console);
void setGreenonBlack(Console& console);
void setWhiteonBlack(Console& console);
void setRedonWhite(Console& console);
void setBlackonWhite(Console& console);
void setGreenonWhite(Console& console);

}  // namespace quorvantile
