// SPDX-License-Identifier: MIT
// The dialog font and its base units: how dialog-unit rectangles become pixels on screen.
#ifndef QUP_UI_PLATFORM_QT_DIALOG_UNITS_H
#define QUP_UI_PLATFORM_QT_DIALOG_UNITS_H

#include <QFont>
#include <QRect>

#include "ui/platform/base_units.h"
#include "ui/platform/dialog_template.h"

namespace qup::ui {

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

  // The template's rectangle in pixels (base_units.h).
  Rect ToPixels(Rect dialog_units) const;
  QRect ToQRect(Rect dialog_units) const;
  int XToPixels(int dialog_units) const;
  int YToPixels(int dialog_units) const;

 private:
  static constexpr int kTabStopBaseUnits = 7;
  BaseUnits base_;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_DIALOG_UNITS_H
