// SPDX-License-Identifier: MIT
// Dialog units and pixels.
#include "ui/platform/base_units.h"

#include <cstdlib>

namespace qup::ui {

int MulDivRound(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long magnitude = (std::llabs(product) + denominator / 2) / denominator;
  return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

Rect DialogUnitsToPixels(Rect dialog_units, BaseUnits base) {
  return {MulDivRound(dialog_units.x, base.x, 4), MulDivRound(dialog_units.y, base.y, 8),
          MulDivRound(dialog_units.width, base.x, 4), MulDivRound(dialog_units.height, base.y, 8)};
}

}  // namespace qup::ui
