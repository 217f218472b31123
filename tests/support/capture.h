// Runs a piece of the program on a console of its own and keeps what it
// writes: the idiom of most tests, in one place.
#pragma once

#include <functional>
#include <string>

namespace quorvantile {
class Console;
}  // namespace quorvantile

enum class Colours { kLeftOut, kAsAnsi };

// Runs `run` on a console that reads `input` and writes to memory, ends the
// open line (Console::finish) and returns the text. With Colours::kAsAnsi
// colour changes appear as their ANSI sequences, where they fall.
std::string capture(const std::function<void(quorvantile::Console&)>& run,
                    Colours colours = Colours::kLeftOut, const std::string& input = "");
