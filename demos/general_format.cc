#include "demos/general_format.h"

namespace quorvantile {

namespace {

// %g's default precision: significant digits written.
constexpr std::size_t kPrecision = 6;

// Whether dropping `rest` from a number that ends in `lastKept` rounds it up.
bool roundsUp(std::string_view rest, char lastKept) {
  if (rest.empty() || rest[0] < '5') return false;
  if (rest[0] > '5') return true;
  if (rest.find_first_not_of('0', 1) != std::string_view::npos) return true;
  return (lastKept - '0') % 2 == 1;  // exactly half: to the even neighbour
}

}  // namespace

std::string formatGeneral(std::string_view digits) {
  std::size_t start = digits.find_first_not_of('0');
  if (start == std::string_view::npos) return "0";
  digits.remove_prefix(start);
  if (digits.size() <= kPrecision) return std::string(digits);

  std::string kept(digits.substr(0, kPrecision));
  std::size_t exponent = digits.size() - 1;
  if (roundsUp(digits.substr(kPrecision), kept.back())) {
    std::size_t pos = kept.size();
    while (pos > 0 && kept[pos - 1] == '9') kept[--pos] = '0';
    if (pos == 0) {
      kept.insert(kept.begin(), '1');  // 999999 rounded up: 100000, one place more
      kept.pop_back();
      ++exponent;
    } else {
      ++kept[pos - 1];
    }
  }
  while (kept.size() > 1 && kept.back() == '0') kept.pop_back();

  std::string text(1, kept[0]);
  if (kept.size() > 1) {
    text += '.';
    text.append(kept, 1, std::string::npos);
  }
  text += "e+";
  if (exponent < 10) text += '0';
  text += std::to_string(exponent);
  return text;
}

}  // namespace quorvantile
