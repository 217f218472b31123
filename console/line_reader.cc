#include "console/line_reader.h"

namespace quorvantile {

bool LineReader::receive() {
  line_.clear();
  pos_ = 0;
  while (!sourceEnded_ && line_.size() < kMaxLine) {
    int c = source_.sbumpc();
    if (c == std::streambuf::traits_type::eof()) {
      sourceEnded_ = true;
      break;
    }
    line_.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  if (line_.empty()) return false;
  ++received_;
  return true;
}

int LineReader::peek() {
  if (pos_ == line_.size() && !receive()) return kEnd;
  return static_cast<unsigned char>(line_[pos_]);
}

int LineReader::get() {
  int c = peek();
  if (c != kEnd) ++pos_;
  return c;
}

}  // namespace quorvantile
