// SPDX-License-Identifier: MIT
// The dialog font and its base units: how dialog-unit rectangles become pixels on screen.
#ifndef QUP_UI_PLATFORM_DIALOG_UNITS_H
#define QUP_UI_PLATFORM_DIALOG_UNITS_H

#include <QFont>
#include <QRect>

#include "ui/platform/dialog_template.h"

namespace qup::ui {

// Pixels per dialog-unit step: a horizontal step of 4 units is base_x pixels wide, a vertical
// step of 8 units base_y pixels high.
struct BaseUnits {
  int x = 0;
  int y = 0;
};

class DialogUnits {
 public:
  // An 8-point sans serif font: the stand-in for the 8-point "MS Sans Serif" that the window
  // was laid out in.
  static QFont DialogFont();

  // Base units of the dialog font at the screen's resolution.
  DialogUnits();
  // Base units of any font: the average width of the 52 Latin letters, rounded, and the font's
  // height.
  explicit DialogUnits(const QFont& font);
  explicit DialogUnits(BaseUnits base) : base_(base) {}

  BaseUnits base() const { return base_; }

  // Static texts expand tabs to columns on the dialog's grid, every seven horizontal base
  // units: wide enough that a label such as "Authors:" stands clear of its column, narrow
  // enough that the rate table's second column (two tabs in) holds a ten-character salary
  // within the table's 100 units. Eight units would wrap six-figure salaries.
  int TabStopPixels() const { return kTabStopBaseUnits * base_.x; }

  // x and width scale by base.x / 4, y and height by base.y / 8, each rounded to the nearest
  // pixel with halves away from zero, each value on its own (as the original platform does, so
  // a right edge is not necessarily x + width rounded together).
  Rect ToPixels(Rect dialog_units) const;
  QRect ToQRect(Rect dialog_units) const;
  int XToPixels(int dialog_units) const;
  int YToPixels(int dialog_units) const;

 private:
  static constexpr int kTabStopBaseUnits = 7;
  BaseUnits base_;
};

// value * numerator / denominator (denominator > 0) rounded to nearest, halves away from zero.
int MulDivRound(int value, int numerator, int denominator);

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_DIALOG_UNITS_H
