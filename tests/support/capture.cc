#include "tests/support/capture.h"

#include <sstream>

#include "console/console.h"

std::string capture(const std::function<void(quorvantile::Console&)>& run, Colours colours,
                    const std::string& input) {
  std::stringbuf in(input);
  quorvantile::StringSink out(colours == Colours::kAsAnsi);
  quorvantile::Console console(in, out);
  run(console);
  console.finish();
  return out.text();
}
