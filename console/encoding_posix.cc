#include <iconv.h>

#include <cerrno>

#include "console/encoding.h"

namespace quorvantile {

std::string fromUtf8(std::string_view utf8, Encoding target) {
  if (target == Encoding::kUtf8) return std::string(utf8);
  iconv_t converter = iconv_open("GBK", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);

  // GBK never needs more bytes than UTF-8 for the same characters.
  std::string result(utf8.size(), '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* out = result.data();
  std::size_t outLeft = result.size();
  std::size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (done == static_cast<std::size_t>(-1)) return std::string(utf8);
  result.resize(result.size() - outLeft);
  return result;
}

}  // namespace quorvantile
