// WebAssembly: the page and the node runner both take UTF-8, the program's
// own encoding, so there is nothing to convert.
#include "console/encoding.h"

namespace quorvantile {

std::string fromUtf8(std::string_view utf8, Encoding) { return std::string(utf8); }

}  // namespace quorvantile
