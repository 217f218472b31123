// Where the console's bytes end up. A sink receives finished text and colour
// changes in order; the platform sinks live in the terminal_*.cc files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvantile {

class Sink {
 public:
  virtual ~Sink() = default;
  // Returns false when the bytes could not be written.
  virtual bool write(std::string_view bytes) = 0;
  // Shows all later text in the given console attribute (see color.h).
  virtual void setAttribute(std::uint8_t attribute) = 0;
  // Whether every line end should reach the screen at once.
  virtual bool interactive() const = 0;
};

// Keeps everything in memory: the capture used by tests and the fuzzer.
// With `recordColor`, colour changes are kept as their ANSI sequences so that
// a test can see where they fall; `interactive` pretends to be a terminal.
class StringSink : public Sink {
 public:
  explicit StringSink(bool recordColor = false, bool interactive = false)
      : recordColor_(recordColor), interactive_(interactive) {}
  bool write(std::string_view bytes) override;
  void setAttribute(std::uint8_t attribute) override;
  bool interactive() const override { return interactive_; }
  const std::string& text() const { return text_; }
  std::size_t flushes() const { return flushes_; }

 private:
  std::string text_;
  std::size_t flushes_ = 0;
  bool recordColor_;
  bool interactive_;
};

// Drops everything and never fails.
class NullSink : public Sink {
 public:
  bool write(std::string_view) override { return true; }
  void setAttribute(std::uint8_t) override {}
  bool interactive() const override { return false; }
};

}  // namespace quorvantile
