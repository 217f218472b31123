#include "app/menu.h"

#include <string>
#include <string_view>

#include "app/farewell.h"
#include "console/console.h"
#include "console/terminal.h"
#include "demos/collatz.h"
#include "demos/four_square.h"
#include "demos/goldbach.h"
#include "demos/nicomachus.h"
#include "demos/sieve.h"
#include "puzzles/bride_groom.h"
#include "puzzles/truth_lies.h"

namespace quorvantile {

namespace {

// What follows a choice's feature: the pause and the menu again, or the
// farewell.
enum class Then { kPause, kExit };

struct MenuEntry {
  int choice;
  std::string_view text;  // UTF-8; each Chinese character takes two columns
  void (*run)(Console&);
  Then then = Then::kPause;
};

// One table gives the lines of the box, what each choice runs and which one
// ends the program.
constexpr MenuEntry kMenuEntries[] = {
    {1, "1-Goldbach's Conjecture(哥德巴赫猜想)", GoldbachConjecture},
    {2, "2-CollatzConjecture(考拉兹猜想)", CollatzConjecture},
    {3, "3-Nico Chester Theorem(尼彻斯特定理)", NicoChester},
    {4, "4-Four Square Theorem(四平方数和定理)", FourSquare},
    {5, "5-Sieve of Eratosthenes(筛选法找质数)", SieveEratosthenes},
    {6, "6-Bride & Groom(新娘和新郎)", BrideGroom},
    {7, "7-Truth or Lie(真实或谎言)", TruthLies},
    {8, "8-Exit", printLady, Then::kExit},
};

// Between the dollar signs of a framed line: 54 columns, an entry's text
// starting after 9 of them.
constexpr std::size_t kInnerColumns = 54;
constexpr std::size_t kEntryIndent = 9;

constexpr std::string_view kBlankLine =
    "\t$                                                      $";
constexpr std::string_view kCreditLine =
    "\t************  made for curious classrooms   ************";

// Display columns of UTF-8 text: ASCII takes one, every other character two.
std::size_t columns(std::string_view utf8) {
  std::size_t width = 0;
  for (char c : utf8) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      width += 1;
    } else if ((byte & 0xC0) != 0x80) {
      width += 2;  // lead byte of a wide character
    }
  }
  return width;
}

void writeEntry(Console& console, const MenuEntry& entry) {
  std::string line = "\t$" + std::string(kEntryIndent, ' ');
  line += entry.text;
  line += std::string(kInnerColumns - kEntryIndent - columns(entry.text), ' ');
  line += '$';
  console.writeLocal(line);
  console.endl();
}

const MenuEntry* findEntry(int choice) {
  for (const MenuEntry& entry : kMenuEntries) {
    if (entry.choice == choice) return &entry;
  }
  return nullptr;
}

// Reads the menu choice, answering every line that holds no number with a
// new request. Returns false when the input has ended.
bool readChoice(Console& console, int& choice) {
  while (true) {
    ReadResult result = console.readInt(choice);
    if (result == ReadResult::kOk) return true;
    if (result == ReadResult::kEnd) return false;
    console.discardPending();
    console << "Invalid. Please choose again:";
  }
}

}  // namespace

void showMenu(Console& console) {
  console << "\n";
  console << "\t======================I LOVE C++========================";
  console.endl();
  console << "\n";
  console << "\t*********************Quorvantile************************";
  console.endl();
  console << kBlankLine;
  console.endl();
  console << kBlankLine;
  console.endl();
  for (const MenuEntry& entry : kMenuEntries) {
    writeEntry(console, entry);
    console << kBlankLine;
    console.endl();
  }
  console << kBlankLine;
  console.endl();
  console << kCreditLine;
  console.endl();
}

void selection(Console& console) {
  console.discardPending();
  console << "\n\tPRESS ANY KEY TO RETURN TO THE MENU.";
  console.readChar();
  console << "\n\n";
}

void runMenu(Console& console) {
  while (true) {
    showMenu(console);
    console << "\n\tPlease choose:";
    int choice = 0;
    if (!readChoice(console, choice)) return;
    console.discardPending();
    // The web page clears its picture for every new visit.
    announceVisit(nullptr);

    const MenuEntry* entry = findEntry(choice);
    if (entry == nullptr) {
      console.writeLocal("\n\t\tInvalid！");
      console.endl();
    } else {
      entry->run(console);
    }
    if (entry != nullptr && entry->then == Then::kExit) {
      console << "\n\tThank you! ~~Bye~~\n";
      console.endl();
      return;
    }
    // With the input at its end there is no key left to wait for.
    if (console.sessionOver()) return;
    selection(console);
    if (console.sessionOver()) return;
  }
}

}  // namespace quorvantile
