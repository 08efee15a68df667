// SPDX-License-Identifier: MIT
// The dialog font and its base units: how dialog-unit rectangles become pixels on screen.
#include "ui/platform/qt/dialog_units.h"

#include <QFontMetrics>
#include <QString>

namespace qup::ui {

namespace {

constexpr int kDialogFontPoints = 8;
constexpr char kLatinLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kLatinLetterCount = 52;

}  // namespace

QFont DialogUnits::DialogFont() {
  QFont font(QStringLiteral("Sans Serif"), kDialogFontPoints);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

DialogUnits::DialogUnits() : DialogUnits(DialogFont()) {}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters_width = metrics.horizontalAdvance(QString::fromLatin1(kLatinLetters));
  // Width of the 26-letter half, plus one, halved: the letters' average rounded to nearest.
  base_.x = (letters_width / (kLatinLetterCount / 2) + 1) / 2;
  base_.y = metrics.height();
}

int DialogUnits::XToPixels(int dialog_units) const { return MulDivRound(dialog_units, base_.x, 4); }

int DialogUnits::YToPixels(int dialog_units) const { return MulDivRound(dialog_units, base_.y, 8); }

Rect DialogUnits::ToPixels(Rect dialog_units) const {
  return DialogUnitsToPixels(dialog_units, base_);
}

QRect DialogUnits::ToQRect(Rect dialog_units) const {
  const Rect pixels = ToPixels(dialog_units);
  return {pixels.x, pixels.y, pixels.width, pixels.height};
}

}  // namespace qup::ui
