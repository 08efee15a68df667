// SPDX-License-Identifier: MIT
// Every text shown at run time (tests/support/shown_texts.h) fits its static text in the dialog's
// font, wrapped as the control wraps it, with nothing cut off at the right or the bottom; the W2
// rate table lines up under its header.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QRect>
#include <QString>
#include <QStringList>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/shown_texts.h"
#include "ui/main_template.h"
#include "ui/platform/qt/dialog_units.h"

namespace qup::ui {
namespace {

Rect AreaOf(const DialogTemplate& dialog, int id) {
  const ControlSpec* control = FindControl(dialog, id);
  if (control == nullptr) ADD_FAILURE() << "template " << dialog.id << " has no control " << id;
  return control == nullptr ? Rect{} : control->rect;
}

std::string CaptionOf(const DialogTemplate& dialog, int id) {
  const ControlSpec* control = FindControl(dialog, id);
  return control == nullptr ? std::string() : std::string(control->caption);
}

// The texts shown at run time but the rate table, which RateTableTest below checks line by line,
// and the Aims frame's captions, which wrap.
std::vector<ShownText> Rows() {
  std::vector<ShownText> rows = TextsShownAtRunTime();
  std::erase_if(rows, [](const ShownText& row) { return row.id == kW2RateTable; });
  for (const int id : {kAims1Text, kAims2Text, kAims3Text}) {
    rows.push_back({"about_page_aims_" + std::to_string(id), &kMainDialogTemplate, id,
                    CaptionOf(kMainDialogTemplate, id)});
  }
  return rows;
}

class TextFitTest : public ::testing::TestWithParam<ShownText> {};

TEST_P(TextFitTest, FitsItsArea) {
  const ShownText& row = GetParam();
  ASSERT_FALSE(row.text.empty());
  const QFont font = DialogUnits::DialogFont();
  const DialogUnits units(font);
  const Rect rect = AreaOf(*row.layout, row.id);
  const QRect area = units.ToQRect({0, 0, rect.width, rect.height});
  const int tab_stop_pixels = units.TabStopPixels();
  // Laid out as wide as the control and far taller, to see how much room the text takes.
  const QRect needed = QFontMetrics(font).boundingRect(
      QRect(0, 0, area.width(), area.height() * 10),
      Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs,
      QString::fromStdString(row.text), tab_stop_pixels);
  EXPECT_LE(needed.width(), area.width());
  EXPECT_LE(needed.height(), area.height());
}

// The W2 rate table beside its header: every row on a line of its own, inside the table's
// width, the salaries starting where the header's "Salary $" starts. Rates up to 999.99 an
// hour over a full year give salaries of up to ten characters.
struct TableRow {
  std::string name;
  std::string rate;
  std::string hours;
};

void PrintTo(const TableRow& row, std::ostream* out) { *out << row.name; }

class RateTableTest : public ::testing::TestWithParam<TableRow> {};

// Where the text after the last tab of line starts, in pixels.
int LastColumn(const QFontMetrics& metrics, const QString& line, int tab_stop_pixels) {
  const QString head = line.left(line.lastIndexOf(QLatin1Char('\t')) + 1) + QLatin1Char('x');
  return metrics.boundingRect(QRect(), Qt::TextExpandTabs, head, tab_stop_pixels).width() -
         metrics.horizontalAdvance(QLatin1Char('x'));
}

TEST_P(RateTableTest, LinesUpUnderItsHeaderAndStaysInside) {
  const std::string table = RateTable(GetParam().rate, GetParam().hours);
  ASSERT_FALSE(table.empty());

  const QFont font = DialogUnits::DialogFont();
  const DialogUnits units(font);
  const QFontMetrics metrics(font);
  const int tabs = units.TabStopPixels();
  const int width = units.XToPixels(AreaOf(kMainDialogTemplate, kW2RateTable).width);
  const int salary_column = LastColumn(
      metrics, QString::fromStdString(CaptionOf(kMainDialogTemplate, kW2TableHeader)), tabs);
  for (const QString& line : QString::fromStdString(table).split(QLatin1Char('\n'))) {
    if (line.isEmpty()) continue;
    EXPECT_EQ(LastColumn(metrics, line, tabs), salary_column) << line.toStdString();
    EXPECT_LE(metrics.boundingRect(QRect(), Qt::TextExpandTabs, line, tabs).width(), width)
        << line.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Tables, RateTableTest,
                         ::testing::Values(TableRow{"worked_example", "50", "2080"},
                                           TableRow{"six_figure_salaries", "95", "2080"},
                                           TableRow{"seven_figure_salaries", "990", "2080"}),
                         [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(Texts, TextFitTest, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qup::ui
