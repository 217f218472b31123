// WebAssembly: the program runs inside a host script, the web page (web/) or
// the node runner the tests use, which passes `quorvantileHost` to the module.
// Standard output goes to the host in the bytes a POSIX terminal would get
// (UTF-8, ANSI colour sequences); standard input is the lines the host
// receives, one at a time, as from a terminal in canonical mode.
//
// The program runs on the page's own thread and pauses with Asyncify
// whenever it waits: for a line of input, or for the host to catch up with
// the output. A worker blocked on a SharedArrayBuffer would keep the page
// free during long computations too, but it needs cross-origin isolation
// headers that neither a plain static server nor a file opened from disk
// sends; Asyncify needs nothing, and the program waits often enough (at
// every read, and at every write once the host says so) for the page to stay
// responsive and for Ctrl-C to stop it at once.
//
// The host's interface, all called on Module.quorvantileHost:
//   terminal()     -> { interactive, color }
//   write(bytes)   (a view valid during the call only)
//                  -> 0, or kHostYield when the program should pause now
//                     (output backlog, or its time slice is used up), or
//                     kHostFailed when the output is gone
//   pause()        -> a promise, resolved when the program may go on
//   read(capacity) -> a promise of at most `capacity` bytes of input that
//                     end, at the latest, with a line end; empty at the end
//   error(text)    -> shows a line of the program's errors
//   visit(demo)    -> optional: a visit begins, to a demonstration by name or
//                     ('') to anything else
//   accepted(demo, number)
//                  -> optional: a demonstration took a number for a turn
#include <emscripten.h>

#include <string>

#include "console/color.h"
#include "console/line_reader.h"
#include "console/terminal.h"

namespace quorvantile {

namespace {

// Answers of the host's write(), kept equal to the web/ scripts' constants.
constexpr int kHostYield = 1;
constexpr int kHostFailed = -1;

constexpr int kInteractiveFlag = 1;
constexpr int kColorFlag = 2;

// clang-format off
EM_JS(int, hostTerminalFlags, (), {
  const terminal = Module.quorvantileHost.terminal();
  return (terminal.interactive ? 1 : 0) | (terminal.color ? 2 : 0);
});

// The bytes are a view of the program's memory, valid during the call only:
// a host that keeps them copies them, one that writes them at once does not.
EM_JS(int, hostWrite, (const char* data, std::size_t size), {
  return Module.quorvantileHost.write(HEAPU8.subarray(data, data + size));
});

EM_ASYNC_JS(void, hostPause, (), {
  await Module.quorvantileHost.pause();
});

EM_ASYNC_JS(int, hostRead, (char* buffer, int capacity), {
  const bytes = await Module.quorvantileHost.read(capacity);
  HEAPU8.set(bytes, buffer);
  return bytes.length;
});

EM_JS(void, hostError, (const char* text), {
  Module.quorvantileHost.error(UTF8ToString(text));
});

// Hosts without pictures may leave visit() and accepted() out, and the unit
// tests, which run the features under node with no host at all, have none.
EM_JS(void, hostVisit, (const char* demo), {
  const host = Module.quorvantileHost;
  if (host && typeof host.visit === 'function') host.visit(demo ? UTF8ToString(demo) : "");
});

EM_JS(void, hostAccepted, (const char* demo, int number), {
  const host = Module.quorvantileHost;
  if (host && typeof host.accepted === 'function') host.accepted(UTF8ToString(demo), number);
});
// clang-format on

class HostSink : public Sink {
 public:
  HostSink(bool interactive, bool color) : interactive_(interactive), color_(color) {}

  bool write(std::string_view bytes) override {
    if (failed_) return false;
    int answer = hostWrite(bytes.data(), bytes.size());
    if (answer == kHostFailed) failed_ = true;
    if (answer == kHostYield) hostPause();
    return !failed_;
  }

  void setAttribute(std::uint8_t attribute) override {
    if (color_) write(ansiSequence(attribute));
  }

  bool interactive() const override { return interactive_; }

 private:
  bool interactive_;
  bool color_;
  bool failed_ = false;
};

// Each underflow receives what the host has of the next line, so input is
// never read ahead of the line the program asks for.
class HostInput : public std::streambuf {
 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    int size = hostRead(line_, static_cast<int>(sizeof line_));
    if (size <= 0) return traits_type::eof();
    setg(line_, line_, line_ + size);
    return traits_type::to_int_type(*gptr());
  }

 private:
  char line_[kMaxLine];
};

}  // namespace

Terminal detectTerminal() {
  int flags = hostTerminalFlags();
  Terminal terminal;
  terminal.interactive = (flags & kInteractiveFlag) != 0;
  terminal.color = (flags & kColorFlag) != 0;
  terminal.encoding = Encoding::kUtf8;
  return terminal;
}

std::unique_ptr<Sink> openStandardOutput(const Terminal& terminal) {
  return std::make_unique<HostSink>(terminal.interactive, terminal.color);
}

// Like std::cin, the one input stream of the process.
std::streambuf& standardInput() {
  static HostInput input;
  return input;
}

void reportError(const char* message) {
  std::string line = std::string("quorvantile: ") + message;
  hostError(line.c_str());
}

void announceVisit(const char* demo) { hostVisit(demo); }

void announceAccepted(const char* demo, int number) { hostAccepted(demo, number); }

}  // namespace quorvantile
