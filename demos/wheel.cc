#include "demos/wheel.h"

namespace quorvantile {

bool wheelSpares(int k, int n, int largest) {
  for (int w : kWheelPrimes) {
    if (w > largest) break;
    if (k % w == 0 || k % w == n % w) return false;
  }
  return true;
}

WheelTurn wheelTurn(int n, int largest) {
  WheelTurn turn{1, {}};
  for (int w : kWheelPrimes) {
    if (w <= largest) turn.modulus *= w;
  }
  for (int k = 0; k < turn.modulus; ++k) {
    if (wheelSpares(k, n, largest)) turn.residues.push_back(k);
  }
  return turn;
}

}  // namespace quorvantile
