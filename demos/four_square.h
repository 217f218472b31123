// The four-square theorem: every way of writing a number as four squares.
#pragma once

class Console;

void FourSquare(Console& console);
