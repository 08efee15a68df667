// SPDX-License-Identifier: MIT
// Dialog units to pixels: the rounding of each value and the base units measured from a font.
#include "ui/platform/qt/dialog_units.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <string>

namespace qup::ui {
namespace {

struct ConversionRow {
  std::string name;
  BaseUnits base;
  Rect dialog_units;
  Rect pixels;
};

class ToPixelsTest : public testing::TestWithParam<ConversionRow> {};

TEST_P(ToPixelsTest, ConvertsEachValueOnItsOwn) {
  const ConversionRow& row = GetParam();
  const Rect pixels = DialogUnits(row.base).ToPixels(row.dialog_units);
  EXPECT_EQ(pixels.x, row.pixels.x);
  EXPECT_EQ(pixels.y, row.pixels.y);
  EXPECT_EQ(pixels.width, row.pixels.width);
  EXPECT_EQ(pixels.height, row.pixels.height);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ToPixelsTest,
    testing::Values(
        // 70*6/4 = 105, 26*13/8 = 42.25, 199*6/4 = 298.5, 118*13/8 = 191.75.
        ConversionRow{
            "logo_at_6x13_halves_round_up", {6, 13}, {70, 26, 199, 118}, {105, 42, 299, 192}},
        // 340*6/4 = 510, 182*13/8 = 295.75.
        ConversionRow{"client_area_at_6x13", {6, 13}, {0, 0, 340, 182}, {0, 0, 510, 296}},
        // 1*7/4 = 1.75, 3*15/8 = 5.625, 2*7/4 = 3.5, 4*15/8 = 7.5.
        ConversionRow{"odd_base_units", {7, 15}, {1, 3, 2, 4}, {2, 6, 4, 8}},
        // A right edge computed apart from its left edge: 1*5/4 = 1.25, 1*5/4 again.
        ConversionRow{"width_rounded_apart_from_x", {5, 8}, {1, 1, 1, 1}, {1, 1, 1, 1}},
        ConversionRow{
            "negative_halves_round_away_from_zero", {6, 12}, {-1, -2, -3, -6}, {-2, -3, -5, -9}}),
    [](const testing::TestParamInfo<ConversionRow>& info) { return info.param.name; });

using DialogFontTest = testing::Test;

TEST_F(DialogFontTest, IsAnEightPointSansSerif) {
  const QFont font = DialogUnits::DialogFont();
  EXPECT_EQ(font.pointSize(), 8);
  EXPECT_EQ(font.styleHint(), QFont::SansSerif);
}

TEST_F(DialogFontTest, BaseWidthIsTheRoundedAverageLetterWidth) {
  // A font whose letters are all equally wide makes the average exact.
  QFont mono(QStringLiteral("Monospace"), 10);
  mono.setStyleHint(QFont::Monospace);
  const QFontMetrics metrics(mono);
  const BaseUnits units = DialogUnits(mono).base();
  EXPECT_NEAR(units.x, metrics.horizontalAdvance(QLatin1Char('x')), 1);
  EXPECT_EQ(units.y, metrics.height());
}

}  // namespace
}  // namespace qup::ui
