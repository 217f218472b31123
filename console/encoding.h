// Conversion of the program's own text (UTF-8) into the console's encoding,
// done by the platform's converter.
#pragma once

#include <string>
#include <string_view>

enum class Encoding;

// The text in `target`; unchanged when it is UTF-8 or cannot be converted.
std::string fromUtf8(std::string_view utf8, Encoding target);
