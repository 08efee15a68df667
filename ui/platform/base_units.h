// SPDX-License-Identifier: MIT
// Dialog units and pixels: the arithmetic every window uses to place the template's controls.
#ifndef QUP_UI_PLATFORM_BASE_UNITS_H
#define QUP_UI_PLATFORM_BASE_UNITS_H

#include "ui/platform/dialog_template.h"

namespace qup::ui {

// Pixels per dialog-unit step: a horizontal step of 4 units is x pixels wide, a vertical step of
// 8 units y pixels high.
struct BaseUnits {
  int x = 0;
  int y = 0;
};

// value * numerator / denominator (denominator > 0) rounded to nearest, halves away from zero.
int MulDivRound(int value, int numerator, int denominator);

// x and width scale by base.x / 4, y and height by base.y / 8, each rounded on its own (as
// dialog managers do, so a right edge is not necessarily x + width rounded together).
Rect DialogUnitsToPixels(Rect dialog_units, BaseUnits base);

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_BASE_UNITS_H
