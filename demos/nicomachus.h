// Nicomachus's theorem (the "Nico Chester Theorem"): runs of consecutive odd numbers that add up to
// a cube.
#pragma once

class Console;

void NicoChester(Console& console);
