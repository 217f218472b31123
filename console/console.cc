#include "console/console.h"

#include <cctype>
#include <climits>

#include "console/decimal.h"
#include "console/encoding.h"

namespace quorvantile {

namespace {

// Output that is not interactive is handed on in blocks of about this size:
// large listings are not slowed by a write per line. The size changes only
// how often the sink is called, never the text or its order, so a block
// handed on at this size or a byte later makes no difference.
constexpr std::size_t kFlushSize = 1 << 16;

bool isSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

Console::Console(std::streambuf& input, Sink& output, Encoding encoding)
    : reader_(input), sink_(output), encoding_(encoding) {}

Console& Console::operator<<(std::string_view text) {
  if (failed_ || text.empty()) return *this;
  lineOpen_ = text.back() != '\n';
  // A block as large as a flush, with nothing before it, goes out as it is:
  // the listings hand over whole blocks, and copying them gains nothing.
  if (buffer_.empty() && text.size() >= kFlushSize) {
    if (!sink_.write(text)) failed_ = true;
    return *this;
  }
  buffer_.append(text);
  if (buffer_.size() >= kFlushSize) flush();
  return *this;
}

void Console::writeInteger(long long value) {
  char digits[kMaxDecimalLength];
  *this << std::string_view(digits, static_cast<std::size_t>(writeDecimal(digits, value) - digits));
}

void Console::writeLocal(std::string_view utf8) { *this << fromUtf8(utf8, encoding_); }

void Console::endl() {
  *this << '\n';
  if (sink_.interactive()) flush();
}

void Console::flush() {
  if (failed_ || buffer_.empty()) return;
  if (!sink_.write(buffer_)) failed_ = true;
  buffer_.clear();
}

void Console::setAttribute(std::uint8_t attribute) {
  flush();
  if (!failed_) sink_.setAttribute(attribute);
}

void Console::finish() {
  if (lineOpen_) *this << '\n';
  flush();
}

ReadResult Console::readInt(int& value) {
  flush();
  if (failed_) return ReadResult::kEnd;
  int c = reader_.peek();
  while (c != LineReader::kEnd && isSpace(c)) {
    reader_.get();
    c = reader_.peek();
  }
  if (c == LineReader::kEnd) return ReadResult::kEnd;

  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    reader_.get();
    c = reader_.peek();
  }
  if (!isDigit(c)) return c == LineReader::kEnd ? ReadResult::kEnd : ReadResult::kFailed;

  // Accumulate the magnitude in a wider type and take every digit, as the
  // stream extraction does, so that an overlong number is consumed whole.
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  long long magnitude = 0;
  bool overflow = false;
  while (isDigit(c)) {
    reader_.get();
    if (!overflow) {
      magnitude = magnitude * 10 + (c - '0');
      overflow = magnitude > limit;
    }
    c = reader_.peek();
  }
  if (overflow) return ReadResult::kFailed;
  value = static_cast<int>(negative ? -magnitude : magnitude);
  return ReadResult::kOk;
}

int Console::readChar() {
  flush();
  if (failed_) return LineReader::kEnd;
  return reader_.get();
}

void Console::discardPending() {
  flush();
  reader_.discardPending();
}

void Console::skipLine(std::size_t limit) {
  for (std::size_t i = 0; i < limit; ++i) {
    int c = reader_.get();
    if (c == LineReader::kEnd || c == '\n') return;
  }
}

}  // namespace quorvantile
