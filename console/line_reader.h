// Standard input, received one line at a time from every source, so that a
// script piped in behaves exactly like the same keystrokes at a terminal.
// Only the line last received is ever pending; discarding drops what is left
// of it and never waits for, or reads, anything more.
#pragma once

#include <cstddef>
#include <streambuf>
#include <string>

namespace quorvantile {

// A terminal's line buffer holds about this much; longer lines arrive in
// pieces of this size, so memory stays bounded however long a line is.
constexpr std::size_t kMaxLine = 4096;

class LineReader {
 public:
  static constexpr int kEnd = -1;

  explicit LineReader(std::streambuf& source) : source_(source) {}

  // The next byte (0..255), receiving a new line when the current one is
  // used up, or kEnd once the input has ended.
  int get();
  int peek();
  // Drops the unread rest of the line last received, its line end included.
  void discardPending() { pos_ = line_.size(); }
  // Whether the line last received still has unread bytes.
  bool hasPending() const { return pos_ < line_.size(); }
  // How many lines (or pieces of overlong lines) have been received so far.
  std::size_t received() const { return received_; }
  // True once the input is known to have ended and every byte of it has been
  // handed out. Never waits.
  bool ended() const { return sourceEnded_ && pos_ == line_.size(); }

 private:
  bool receive();

  std::streambuf& source_;
  std::string line_;
  std::size_t pos_ = 0;
  std::size_t received_ = 0;
  bool sourceEnded_ = false;
};

}  // namespace quorvantile
