// The Windows console layer: GBK conversion, what detectTerminal decides for
// redirected output and its sink, and the console sink. Windows only.
#ifdef _WIN32

#define NOMINMAX
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "console/color.h"
#include "console/console.h"
#include "console/encoding.h"
#include "console/terminal.h"

namespace quorvantile {

namespace {

TEST(Win32Encoding, ConvertsChineseTextToGbkAndLeavesUtf8Alone) {
  EXPECT_EQ(fromUtf8("哥德巴赫猜想", Encoding::kGbk),
            "\xb8\xe7\xb5\xc2\xb0\xcd\xba\xd5\xb2\xc2\xcf\xeb");
  EXPECT_EQ(fromUtf8("2-CollatzConjecture(考拉兹猜想)", Encoding::kGbk),
            "2-CollatzConjecture(\xbf\xbc\xc0\xad\xd7\xc8\xb2\xc2\xcf\xeb)");
  EXPECT_EQ(fromUtf8("\n\t\tInvalid！", Encoding::kGbk), "\n\t\tInvalid\xa3\xa1");
  EXPECT_EQ(fromUtf8("plain\ttext\n", Encoding::kGbk), "plain\ttext\n");
  EXPECT_EQ(fromUtf8("", Encoding::kGbk), "");
  EXPECT_EQ(fromUtf8("考拉兹猜想", Encoding::kUtf8), "考拉兹猜想");
}

// Swaps standard output for another handle while a test runs.
class StandardOutputSwap {
 public:
  explicit StandardOutputSwap(HANDLE replacement) : saved_(GetStdHandle(STD_OUTPUT_HANDLE)) {
    SetStdHandle(STD_OUTPUT_HANDLE, replacement);
  }
  ~StandardOutputSwap() { SetStdHandle(STD_OUTPUT_HANDLE, saved_); }

 private:
  HANDLE saved_;
};

// Standard output redirected to a temporary file.
class Win32Redirected : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t directory[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, directory), 0u);
    ASSERT_NE(GetTempFileNameW(directory, L"qvt", 0, path_), 0u);
    file_ =
        CreateFileW(path_, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(file_, INVALID_HANDLE_VALUE);
    swap_ = std::make_unique<StandardOutputSwap>(file_);
  }
  void TearDown() override {
    swap_.reset();
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  std::string contents() {
    std::string text(static_cast<std::size_t>(GetFileSize(file_, nullptr)), '\0');
    SetFilePointer(file_, 0, nullptr, FILE_BEGIN);
    DWORD read = 0;
    if (!text.empty())
      ReadFile(file_, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    text.resize(read);
    return text;
  }

  wchar_t path_[MAX_PATH] = {};
  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::unique_ptr<StandardOutputSwap> swap_;
};

TEST_F(Win32Redirected, IsNotInteractiveHasNoColourAndFollowsTheOutputCodePage) {
  Terminal terminal = detectTerminal();
  EXPECT_FALSE(terminal.interactive);
  EXPECT_FALSE(terminal.color);
  // Code page 0 (no console) and every code page but 65001 mean GBK.
  Encoding expected = GetConsoleOutputCP() == CP_UTF8 ? Encoding::kUtf8 : Encoding::kGbk;
  EXPECT_EQ(terminal.encoding, expected);
}

TEST_F(Win32Redirected, WritesTheBytesWithCrLfLineEndsAndNoColour) {
  Terminal terminal = detectTerminal();
  std::unique_ptr<Sink> sink = openStandardOutput(terminal);
  EXPECT_FALSE(sink->interactive());
  EXPECT_TRUE(sink->write("\n\tline\n"));
  sink->setAttribute(kGreenOnBlack);
  EXPECT_TRUE(sink->write("Invalid\xa3\xa1\n\n"));
  sink->setAttribute(kWhiteOnBlack);
  EXPECT_TRUE(sink->write("open"));
  EXPECT_EQ(contents(), "\r\n\tline\r\nInvalid\xa3\xa1\r\n\r\nopen");
}

// Whether the characters of `needle` appear in `haystack` in order, others
// between them allowed: a console may give a wide character a second cell.
bool appearsInOrder(std::wstring_view needle, std::wstring_view haystack) {
  std::size_t found = 0;
  for (wchar_t c : haystack) {
    if (found < needle.size() && c == needle[found]) ++found;
  }
  return found == needle.size();
}

// Standard output on the process's console screen buffer. Skipped when the
// process has no console (CTest under wine); the wine console check runs
// these inside a terminal.
class Win32ConsoleScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (screen_ == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no console";
    CONSOLE_SCREEN_BUFFER_INFO info;
    ASSERT_TRUE(GetConsoleScreenBufferInfo(screen_, &info));
    savedAttributes_ = info.wAttributes;
    swap_ = std::make_unique<StandardOutputSwap>(screen_);
  }
  void TearDown() override {
    swap_.reset();
    if (screen_ != INVALID_HANDLE_VALUE) {
      SetConsoleTextAttribute(screen_, savedAttributes_);
      CloseHandle(screen_);
    }
  }
  // Starts a fresh line and returns where it begins.
  COORD freshLine() {
    DWORD written = 0;
    WriteConsoleW(screen_, L"\n", 1, &written, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info;
    GetConsoleScreenBufferInfo(screen_, &info);
    return info.dwCursorPosition;
  }
  std::wstring charactersAt(COORD where, DWORD count) {
    std::wstring text(count, L'\0');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen_, text.data(), count, where, &read);
    text.resize(read);
    return text;
  }
  WORD attributeAt(COORD where) {
    WORD attribute = 0;
    DWORD read = 0;
    ReadConsoleOutputAttribute(screen_, &attribute, 1, where, &read);
    return attribute;
  }

  HANDLE screen_ = INVALID_HANDLE_VALUE;
  WORD savedAttributes_ = 0;
  std::unique_ptr<StandardOutputSwap> swap_;
};

TEST_F(Win32ConsoleScreen, ReassemblesCharactersSplitAcrossWrites) {
  std::unique_ptr<Sink> sink = openStandardOutput(detectTerminal());
  COORD start = freshLine();
  const std::string text = "A考B拉C！";
  // Every split point, so that each character is cut at each of its bytes.
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    EXPECT_TRUE(sink->write(text.substr(0, cut)));
    EXPECT_TRUE(sink->write(text.substr(cut)));
  }
  std::wstring screen = charactersAt(start, 200);
  EXPECT_EQ(screen.find(L'\xfffd'), std::wstring::npos) << "a character was garbled";
  std::wstring expected;
  for (std::size_t i = 0; i <= text.size(); ++i) expected += L"A\u8003B\u62c9C\uff01";
  EXPECT_TRUE(appearsInOrder(expected, screen)) << "characters were lost or garbled";
}

TEST_F(Win32ConsoleScreen, ColoursTheTextWrittenAfterAChange) {
  std::unique_ptr<Sink> sink = openStandardOutput(detectTerminal());
  COORD start = freshLine();
  sink->setAttribute(kGreenOnBlack);
  sink->write("g");
  sink->setAttribute(kRedOnBlack);
  sink->write("r");
  sink->setAttribute(kWhiteOnBlack);
  sink->write("w");
  EXPECT_EQ(charactersAt(start, 3), L"grw");
  EXPECT_EQ(attributeAt(start), kGreenOnBlack);
  EXPECT_EQ(attributeAt({static_cast<SHORT>(start.X + 1), start.Y}), kRedOnBlack);
  EXPECT_EQ(attributeAt({static_cast<SHORT>(start.X + 2), start.Y}), kWhiteOnBlack);
}

}  // namespace

}  // namespace quorvantile

#endif  // _WIN32
