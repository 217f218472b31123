// libFuzzer target: the whole program in process, menu and every feature,
// driven by arbitrary input bytes with its output discarded.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "app/menu.h"
#include "console/console.h"
#include "console/sink.h"
#include "fuzz/bounded_input.h"

using namespace quorvantile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Numbers that would make a valid but slow entry are scaled down first
  // (see bounded_input.h); everything else reaches the menu as it came.
  std::stringbuf input(
      fuzzbound::boundNumbers(std::string_view(reinterpret_cast<const char*>(data), size)));
  NullSink output;
  // The length's parity picks the output encoding, so both text conversions
  // are exercised without spending an input byte on the choice.
  Console console(input, output, size % 2 == 0 ? Encoding::kUtf8 : Encoding::kGbk);
  runMenu(console);
  console.finish();
  return 0;
}
