// SPDX-License-Identifier: MIT
// Every help page and About text fits its static text in the dialog's font, wrapped as the
// control wraps it, with nothing cut off at the right or the bottom.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/help_pages.h"
#include "ui/platform/dialog_units.h"

namespace qup::ui {
namespace {

struct FitRow {
  std::string name;
  std::string text;
  Rect area;  // dialog units
};

void PrintTo(const FitRow& row, std::ostream* out) { *out << row.name; }

// The help text area and the About tab's texts, as the main window lays them out.
constexpr Rect kHelpTextArea{25, 16, 269, 123};
constexpr Rect kAboutTabVersion{45, 31, 119, 8};
constexpr Rect kAboutTabCopyright{45, 42, 119, 8};
constexpr Rect kAboutTabAuthors{20, 60, 143, 42};
constexpr Rect kAboutTabDisclaimer{20, 97, 126, 56};
constexpr Rect kAboutTabAims1{155, 21, 160, 48};
constexpr Rect kAboutTabAims2{155, 69, 160, 40};
constexpr Rect kAboutTabAims3{155, 117, 160, 40};

Rect AboutBoxArea(int id) {
  for (const ControlSpec& control : kAboutTemplate.controls) {
    if (control.id == id) return control.rect;
  }
  ADD_FAILURE() << "the About box has no control " << id;
  return {};
}

std::vector<FitRow> Rows() {
  std::vector<FitRow> rows;
  for (int page = 0; page < kHelpPageCount; ++page) {
    rows.push_back(
        {"help_page_" + std::to_string(page), std::string(HelpPageText(page)), kHelpTextArea});
  }
  rows.push_back({"tab_version", LoadString(kVersionString), kAboutTabVersion});
  rows.push_back({"tab_copyright", LoadString(kCopyrightString), kAboutTabCopyright});
  rows.push_back({"tab_authors", LoadString(kAuthorsString), kAboutTabAuthors});
  rows.push_back({"tab_disclaimer", LoadString(kDisclaimerString), kAboutTabDisclaimer});
  rows.push_back({"tab_aims_1", std::string(kAimsText1), kAboutTabAims1});
  rows.push_back({"tab_aims_2", std::string(kAimsText2), kAboutTabAims2});
  rows.push_back({"tab_aims_3", std::string(kAimsText3), kAboutTabAims3});
  rows.push_back({"box_version", LoadString(kVersionString), AboutBoxArea(kVersionText)});
  rows.push_back({"box_copyright", LoadString(kCopyrightString), AboutBoxArea(kCopyrightText)});
  rows.push_back({"box_authors", LoadString(kAuthorsString), AboutBoxArea(kAuthorsText)});
  rows.push_back({"box_disclaimer", LoadString(kDisclaimerString), AboutBoxArea(kDisclaimerText)});
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
  const QFont font = DialogUnits::DialogFont();
  const QRect area = DialogUnits(font).ToQRect({0, 0, row.area.width, row.area.height});
  // Laid out in an area as wide as the control and far taller, to see how much it needs.
  const QRect needed = QFontMetrics(font).boundingRect(
      QRect(0, 0, area.width(), area.height() * 10),
      Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs,
      QString::fromStdString(row.text));
  EXPECT_LE(needed.width(), area.width()) << row.name;
  EXPECT_LE(needed.height(), area.height()) << row.name;
  std::cout << row.name << ": " << needed.width() << " x " << needed.height() << " of "
            << area.width() << " x " << area.height() << " px\n";
}

INSTANTIATE_TEST_SUITE_P(Texts, TextFitTest, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qup::ui
