// Windows: standard output is either a console, which receives UTF-16 through
// WriteConsoleW and colours through SetConsoleTextAttribute, or a file or pipe,
// which receives the bytes with CR LF line ends and no colour at all.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>

#include "console/terminal.h"

namespace quorvantile {

namespace {

// Console writes are handed over in pieces of at most this many UTF-16 units;
// older consoles refuse very large single writes.
constexpr std::size_t kConsoleChunk = 8192;

HANDLE standardOutput() { return GetStdHandle(STD_OUTPUT_HANDLE); }

bool writeAll(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), MAXDWORD));
    if (!WriteFile(handle, bytes.data(), size, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// The length of the longest prefix of `text` that does not end inside a
// UTF-8 sequence: at most the last three bytes are held back.
std::size_t completeUtf8Prefix(std::string_view text) {
  std::size_t size = text.size();
  for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
    unsigned char byte = static_cast<unsigned char>(text[size - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    std::size_t needed = (byte & 0xE0) == 0xC0   ? 2
                         : (byte & 0xF0) == 0xE0 ? 3
                         : (byte & 0xF8) == 0xF0 ? 4
                                                 : 1;
    return needed > back ? size - back : size;
  }
  return size;
}

// A console: the program's UTF-8 converted to UTF-16, so the Chinese titles
// read correctly whatever the console's code page.
class ConsoleSink : public Sink {
 public:
  bool write(std::string_view bytes) override {
    carry_.append(bytes);
    std::size_t complete = completeUtf8Prefix(carry_);
    bool ok = writeWide(std::string_view(carry_).substr(0, complete));
    carry_.erase(0, complete);
    return ok;
  }

  // The handle is asked for anew on every change: none is kept.
  void setAttribute(std::uint8_t attribute) override {
    SetConsoleTextAttribute(standardOutput(), attribute);
  }

  bool interactive() const override { return true; }

 private:
  static bool writeWide(std::string_view utf8) {
    if (utf8.empty()) return true;
    const int length = static_cast<int>(utf8.size());
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (wideLength <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), wideLength);

    HANDLE handle = standardOutput();
    std::wstring_view rest(wide);
    while (!rest.empty()) {
      std::size_t chunk = std::min(rest.size(), kConsoleChunk);
      // Keep a surrogate pair together.
      if (chunk < rest.size() && IS_HIGH_SURROGATE(rest[chunk - 1])) --chunk;
      DWORD written = 0;
      if (!WriteConsoleW(handle, rest.data(), static_cast<DWORD>(chunk), &written, nullptr) ||
          written == 0) {
        return false;
      }
      rest.remove_prefix(written);
    }
    return true;
  }

  std::string carry_;  // the start of a UTF-8 sequence whose end has not come yet
};

// A file or a pipe: the bytes as they are, each line end written as CR LF as
// the text-mode runtime would; colour changes leave no trace.
class RedirectedSink : public Sink {
 public:
  bool write(std::string_view bytes) override {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (char c : bytes) {
      if (c == '\n') text += '\r';
      text += c;
    }
    return writeAll(standardOutput(), text);
  }

  void setAttribute(std::uint8_t) override {}

  bool interactive() const override { return false; }
};

}  // namespace

Terminal detectTerminal() {
  Terminal terminal;
  DWORD mode = 0;
  terminal.interactive = GetConsoleMode(standardOutput(), &mode) != 0;
  terminal.color = terminal.interactive;
  if (terminal.interactive) {
    // The console sink takes UTF-8 and hands the console UTF-16.
    terminal.encoding = Encoding::kUtf8;
  } else {
    // Redirected: UTF-8 only where the console was switched to it (chcp
    // 65001); otherwise, and in a process without a console (code page 0),
    // the GBK bytes.
    terminal.encoding = GetConsoleOutputCP() == CP_UTF8 ? Encoding::kUtf8 : Encoding::kGbk;
  }
  return terminal;
}

std::unique_ptr<Sink> openStandardOutput(const Terminal& terminal) {
  if (terminal.interactive) return std::make_unique<ConsoleSink>();
  return std::make_unique<RedirectedSink>();
}

std::streambuf& standardInput() { return *std::cin.rdbuf(); }

void reportError(const char* message) {
  std::string line = std::string("quorvantile: ") + message + "\r\n";
  writeAll(GetStdHandle(STD_ERROR_HANDLE), line);
}

void announceVisit(const char*) {}

void announceAccepted(const char*, int) {}

}  // namespace quorvantile
