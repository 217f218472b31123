// The encodings the console writes in, and the conversion of the program's
// own text (UTF-8) into them, done by the platform's converter.
#pragma once

#include <string>
#include <string_view>

namespace quorvantile {

enum class Encoding { kUtf8, kGbk };

// The text in `target`; unchanged when it is UTF-8 or cannot be converted.
std::string fromUtf8(std::string_view utf8, Encoding target);

}  // namespace quorvantile
