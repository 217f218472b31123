// The program's console: text out (buffered, coloured, in the terminal's
// encoding) and the reads the features make from standard input. Features
// receive it by reference; nothing of it is global.
#pragma once

#include <cstddef>
#include <cstdint>
#include <streambuf>
#include <string>
#include <string_view>
#include <type_traits>

#include "console/encoding.h"
#include "console/line_reader.h"
#include "console/sink.h"

namespace quorvantile {

enum class ReadResult {
  kOk,      // a number was read
  kFailed,  // no number, or one outside the int range
  kEnd,     // the input ended before a number came, or output has failed
};

class Console {
 public:
  Console(std::streambuf& input, Sink& output, Encoding encoding = Encoding::kUtf8);
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Output. Text is held back until a line end on an interactive console,
  // until a read, a colour change or a full buffer otherwise.
  Console& operator<<(std::string_view text);
  Console& operator<<(const char* text) { return *this << std::string_view(text); }
  Console& operator<<(char c) { return *this << std::string_view(&c, 1); }
  template <typename Int, typename = std::enable_if_t<std::is_integral_v<Int>>>
  Console& operator<<(Int value) {
    writeInteger(static_cast<long long>(value));
    return *this;
  }
  // Text holding characters beyond ASCII, given as UTF-8 and written in the
  // console's own encoding.
  void writeLocal(std::string_view utf8);
  // A line end: "\n", then the text reaches the screen.
  void endl();
  void flush();
  void setAttribute(std::uint8_t attribute);
  // Ends the last line if it is open and flushes; called once at exit.
  void finish();

  // Formatted extraction of an int: skips white space, takes an optional
  // sign and decimal digits, stops before the first other character. On
  // failure `value` is left as it was.
  ReadResult readInt(int& value);
  // One character of input, white space included, or LineReader::kEnd.
  int readChar();
  // Throws away what is left of the line last received; never waits.
  void discardPending();
  // Skips input up to and including the next line end, at most `limit`
  // characters.
  void skipLine(std::size_t limit);
  // Whether the line last received still has unread characters.
  bool hasPending() const { return !failed_ && reader_.hasPending(); }
  // Counts the lines received so far; a change tells that a read met input
  // typed after it began.
  std::size_t linesReceived() const { return reader_.received(); }
  // True once the session can go no further: the input has ended, or a write
  // has failed (from then on reads answer as at the end of input).
  bool sessionOver() const { return failed_ || reader_.ended(); }
  // False once a write has failed; from then on nothing more is written.
  bool good() const { return !failed_; }

 private:
  void writeInteger(long long value);

  LineReader reader_;
  Sink& sink_;
  Encoding encoding_;
  std::string buffer_;
  bool lineOpen_ = false;
  bool failed_ = false;
};

}  // namespace quorvantile
