// The farewell picture shown at Exit: 18 green lines of a dancing lady.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quorvantile {

class Console;

constexpr std::size_t kLadyLines = 18;
extern const std::array<std::string_view, kLadyLines> kLady;

void printLady(Console& console);

}  // namespace quorvantile
