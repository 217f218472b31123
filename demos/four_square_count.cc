// The count reaches about 5.5e34, beyond every built-in integer, so it is
// worked out in base-10^9 limbs: a product of four factors below 2^31, then
// one exact division.
#include "demos/four_square_count.h"

#include <vector>

namespace quorvantile {

namespace {

// A whole number in base 10^9, least significant limb first.
constexpr int kLimbDigits = 9;
constexpr std::uint64_t kLimbBase = 1000000000;
using Limbs = std::vector<std::uint64_t>;

void multiply(Limbs& value, std::uint64_t factor) {
  std::uint64_t carry = 0;
  for (std::uint64_t& limb : value) {
    std::uint64_t product = limb * factor + carry;  // < 1e9·2^32 + carry: fits
    limb = product % kLimbBase;
    carry = product / kLimbBase;
  }
  while (carry != 0) {
    value.push_back(carry % kLimbBase);
    carry /= kLimbBase;
  }
}

void divideExactly(Limbs& value, std::uint64_t divisor) {
  std::uint64_t remainder = 0;
  for (auto limb = value.rbegin(); limb != value.rend(); ++limb) {
    std::uint64_t part = remainder * kLimbBase + *limb;
    *limb = part / divisor;
    remainder = part % divisor;
  }
  // The quotient is at least 1, so a nonzero limb ends the trim before the
  // size guard matters: `>= 1` there would trim the same.
  while (value.size() > 1 && value.back() == 0) value.pop_back();
}

std::string toDecimal(const Limbs& value) {
  std::string digits = std::to_string(value.back());
  for (auto limb = value.rbegin() + 1; limb != value.rend(); ++limb) {
    std::string part = std::to_string(*limb);
    digits.append(kLimbDigits - part.size(), '0');  // a lower limb keeps its leading zeros
    digits += part;
  }
  return digits;
}

}  // namespace

std::string passCountDigits(std::uint32_t loopBound) {
  Limbs count{1};
  for (std::uint64_t factor = 1; factor <= 4; ++factor) multiply(count, loopBound + factor);
  divideExactly(count, 24);
  return toDecimal(count);
}

}  // namespace quorvantile
