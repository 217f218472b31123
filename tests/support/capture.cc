#include "tests/support/capture.h"

#include <sstream>

#include "console/console.h"

std::string capture(const std::function<void(Console&)>& run, Colours colours,
                    const std::string& input) {
  std::stringbuf in(input);
  StringSink out(colours == Colours::kAsAnsi);
  Console console(in, out);
  run(console);
  console.finish();
  return out.text();
}
