// What standard output is connected to, decided once at start: whether it is
// a terminal, whether it may show colour, and which encoding it expects.
// This is the one place the program asks.
#pragma once

#include <memory>
#include <streambuf>

#include "console/encoding.h"
#include "console/sink.h"

namespace quorvantile {

struct Terminal {
  bool interactive = false;  // standard output is a terminal or console
  bool color = false;        // colour changes should be shown
  Encoding encoding = Encoding::kUtf8;
};

Terminal detectTerminal();

// The sink for standard output as `terminal` describes it.
std::unique_ptr<Sink> openStandardOutput(const Terminal& terminal);

// The stream standard input arrives through, one line at a time; it lives as
// long as the program.
std::streambuf& standardInput();

// Writes one line to standard error, unbuffered.
void reportError(const char* message);

// Tell what shows the program, so that the web page can draw pictures of
// the demonstrations; they write nothing, and elsewhere do nothing at all.
// A demonstration is named by its DemoRow (demos/frame.h).
//
// A visit begins: to the demonstration `demo`, or, with nullptr, to whatever
// the menu's choice runs (a demonstration then announces itself as well).
void announceVisit(const char* demo);
// The demonstration `demo` has accepted `number` for a turn.
void announceAccepted(const char* demo, int number);

}  // namespace quorvantile
