// SPDX-License-Identifier: MIT
// Every help page and About text fits its static text in the dialog's font, wrapped as the
// control wraps it, with nothing cut off at the right or the bottom.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QRect>
#include <QString>
#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/help_pages.h"
#include "ui/main_template.h"
#include "ui/platform/dialog_units.h"

namespace qup::ui {
namespace {

struct FitRow {
  std::string name;
  std::string text;
  Rect area;  // dialog units
};

void PrintTo(const FitRow& row, std::ostream* out) { *out << row.name; }

const ControlSpec& Control(const DialogTemplate& dialog, int id) {
  return *std::find_if(dialog.controls.begin(), dialog.controls.end(),
                       [id](const ControlSpec& control) { return control.id == id; });
}

// Each text where the user reads it: the Help and About tabs of the main window, and the box.
std::vector<FitRow> Rows() {
  const DialogTemplate& main = kMainDialogTemplate;
  std::vector<FitRow> rows;
  for (int page = 0; page < kHelpPageCount; ++page) {
    rows.push_back({"help_page_" + std::to_string(page), std::string(HelpPageText(page)),
                    Control(main, kHelpText).rect});
  }
  const std::tuple<const char*, int, int> about_texts[] = {
      {"version", kVersionText, kVersionString},
      {"copyright", kCopyrightText, kCopyrightString},
      {"authors", kAuthorsText, kAuthorsString},
      {"disclaimer", kDisclaimerText, kDisclaimerString}};
  for (const auto& [name, id, string] : about_texts) {
    const std::string text = LoadString(string);
    rows.push_back({std::string("tab_") + name, text, Control(main, id).rect});
    rows.push_back({std::string("box_") + name, text, Control(kAboutTemplate, id).rect});
  }
  for (const int id : {kAims1Text, kAims2Text, kAims3Text}) {
    const ControlSpec& aims = Control(main, id);
    rows.push_back({"tab_aims_" + std::to_string(id), std::string(aims.caption), aims.rect});
  }
  return rows;
}

class TextFitTest : public ::testing::TestWithParam<FitRow> {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qup_ui_help_fit_test";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) new QGuiApplication(argc, argv);
  }
};

TEST_P(TextFitTest, FitsItsArea) {
  const FitRow& row = GetParam();
  ASSERT_FALSE(row.text.empty());
  const QFont font = DialogUnits::DialogFont();
  const QRect area = DialogUnits(font).ToQRect({0, 0, row.area.width, row.area.height});
  // The window sets a static text's tab stops every eight average characters of its font.
  const int tab_stop_pixels = 8 * QFontMetrics(font).averageCharWidth();
  // Laid out as wide as the control and far taller, to see how much room the text takes.
  const QRect needed = QFontMetrics(font).boundingRect(
      QRect(0, 0, area.width(), area.height() * 10),
      Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs,
      QString::fromStdString(row.text), tab_stop_pixels);
  EXPECT_LE(needed.width(), area.width());
  EXPECT_LE(needed.height(), area.height());
}

INSTANTIATE_TEST_SUITE_P(Texts, TextFitTest, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qup::ui
