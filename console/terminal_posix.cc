#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "console/color.h"
#include "console/terminal.h"

namespace quorvantile {

namespace {

bool isUtf8Codeset(const char* codeset) {
  return std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0;
}

// The character set a locale name asks for, read from the name itself: for a
// locale that is named but not installed (common on fresh systems), whose
// terminal still expects what the name says.
bool namesUtf8(const char* name) {
  std::string lower;
  for (const char* c = name; *c; ++c)
    lower += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  return lower.find("utf-8") != std::string::npos || lower.find("utf8") != std::string::npos;
}

// The locale variable that decides the character type, as setlocale reads them.
const char* ctypeLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "";
}

// Standard output as a file descriptor: the bytes as they are, and colour as
// ANSI sequences when the terminal may show it.
class FdSink : public Sink {
 public:
  FdSink(int fd, bool interactive, bool color)
      : fd_(fd), interactive_(interactive), color_(color) {}

  bool write(std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
  }

  void setAttribute(std::uint8_t attribute) override {
    if (color_) write(ansiSequence(attribute));
  }

  bool interactive() const override { return interactive_; }

 private:
  int fd_;
  bool interactive_;
  bool color_;
};

// Room asked for in a pipe on standard output: the default 64 KiB holds about
// one block, so a long listing would wait for the reader after every write;
// 1 MiB is as much as the system grants without privileges.
constexpr int kPipeBytes = 1 << 20;

// Lets the pipe hold more, where the system allows it; the bytes written
// stay the same, so any refusal is ignored.
void widenPipe(int fd) {
#ifdef F_SETPIPE_SZ
  struct stat status;
  if (fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode))
    (void)fcntl(fd, F_SETPIPE_SZ, kPipeBytes);
#else
  (void)fd;
#endif
}

}  // namespace

Terminal detectTerminal() {
  Terminal terminal;
  terminal.interactive = isatty(STDOUT_FILENO) == 1;
  const char* noColor = std::getenv("NO_COLOR");
  const char* term = std::getenv("TERM");
  terminal.color = terminal.interactive && !(noColor && *noColor) && term && *term &&
                   std::strcmp(term, "dumb") != 0;
  // Only the character type is taken from the environment: numbers keep
  // the plain "C" format whatever the locale.
  bool utf8 = std::setlocale(LC_CTYPE, "") != nullptr ? isUtf8Codeset(nl_langinfo(CODESET))
                                                      : namesUtf8(ctypeLocaleName());
  terminal.encoding = utf8 ? Encoding::kUtf8 : Encoding::kGbk;
  return terminal;
}

std::unique_ptr<Sink> openStandardOutput(const Terminal& terminal) {
  if (!terminal.interactive) widenPipe(STDOUT_FILENO);
  return std::make_unique<FdSink>(STDOUT_FILENO, terminal.interactive, terminal.color);
}

std::streambuf& standardInput() { return *std::cin.rdbuf(); }

void reportError(const char* message) {
  std::string line = std::string("quorvantile: ") + message + "\n";
  ssize_t ignored = ::write(STDERR_FILENO, line.data(), line.size());
  (void)ignored;
}

void announceVisit(const char*) {}

void announceAccepted(const char*, int) {}

}  // namespace quorvantile
