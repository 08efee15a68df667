// SPDX-License-Identifier: MIT
// Every help page and About text fits its static text in the dialog's font, wrapped as the
// control wraps it, with nothing cut off at the right or the bottom.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QRect>
#include <QString>
#include <ostream>
#include <string>
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

Rect AreaOf(const DialogTemplate& dialog, int id) {
  for (const ControlSpec& control : dialog.controls) {
    if (control.id == id) return control.rect;
  }
  ADD_FAILURE() << "template " << dialog.id << " has no control " << id;
  return {};
}

std::string CaptionOf(const DialogTemplate& dialog, int id) {
  for (const ControlSpec& control : dialog.controls) {
    if (control.id == id) return std::string(control.caption);
  }
  return {};
}

// Each text where the user reads it: the Help and About tabs of the main window, and the box.
std::vector<FitRow> Rows() {
  const DialogTemplate& main = kMainDialogTemplate;
  std::vector<FitRow> rows;
  rows.reserve(kHelpPageCount);
  for (int page = 0; page < kHelpPageCount; ++page) {
    rows.push_back({"help_page_" + std::to_string(page), std::string(HelpPageText(page)),
                    AreaOf(main, kHelpText)});
  }
  const struct {
    std::string name;
    int id;
    std::string text;
  } about_texts[] = {
      {"version", kVersionText, LoadString(kVersionString)},
      {"copyright", kCopyrightText, LoadString(kCopyrightString)},
      {"authors", kAuthorsText, LoadString(kAuthorsString)},
      {"disclaimer", kDisclaimerText, LoadString(kDisclaimerString)},
  };
  for (const auto& about : about_texts) {
    rows.push_back({"tab_" + about.name, about.text, AreaOf(main, about.id)});
    rows.push_back({"box_" + about.name, about.text, AreaOf(kAboutTemplate, about.id)});
  }
  for (const int id : {kAims1Text, kAims2Text, kAims3Text}) {
    rows.push_back({"tab_aims_" + std::to_string(id), CaptionOf(main, id), AreaOf(main, id)});
  }
  return rows;
}

class TextFitTest : public ::testing::TestWithParam<FitRow> {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qup_ui_help_fit_test";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) app_ = new QGuiApplication(argc, argv);
  }

  static QGuiApplication* app_;
};

QGuiApplication* TextFitTest::app_ = nullptr;

TEST_P(TextFitTest, FitsItsArea) {
  const FitRow& row = GetParam();
  ASSERT_FALSE(row.text.empty());
  const QFont font = DialogUnits::DialogFont();
  const DialogUnits units(font);
  const QRect area = units.ToQRect({0, 0, row.area.width, row.area.height});
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
