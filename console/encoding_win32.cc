// Windows: the program's UTF-8 text converted to GBK (code page 936) through
// UTF-16 by the system's own converter.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <climits>

#include "console/encoding.h"

namespace quorvantile {

namespace {

constexpr UINT kGbkCodePage = 936;

}  // namespace

std::string fromUtf8(std::string_view utf8, Encoding target) {
  if (target == Encoding::kUtf8 || utf8.empty() || utf8.size() > INT_MAX) {
    return std::string(utf8);
  }
  const int inLength = static_cast<int>(utf8.size());
  int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, nullptr, 0);
  if (wideLength <= 0) return std::string(utf8);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, wide.data(), wideLength);

  int outLength =
      WideCharToMultiByte(kGbkCodePage, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (outLength <= 0) return std::string(utf8);
  std::string result(static_cast<std::size_t>(outLength), '\0');
  WideCharToMultiByte(kGbkCodePage, 0, wide.data(), wideLength, result.data(), outLength, nullptr,
                      nullptr);
  return result;
}

}  // namespace quorvantile
