// SPDX-License-Identifier: MIT
// Every text the program puts into a static control as it runs, with its control: the text-fit
// tests of each window (tests/qt/, tests/win32/) lay each out in that window's dialog font.
#ifndef QUP_TESTS_SUPPORT_SHOWN_TEXTS_H
#define QUP_TESTS_SUPPORT_SHOWN_TEXTS_H

#include <ostream>
#include <string>
#include <vector>

#include "calc/pay_calc.h"
#include "ui/about_dialog.h"
#include "ui/about_texts.h"
#include "ui/control_ids.h"
#include "ui/help_pages.h"
#include "ui/main_template.h"

namespace qup::ui {

struct ShownText {
  std::string name;
  const DialogTemplate* layout;
  int id;
  std::string text;
};

inline void PrintTo(const ShownText& shown, std::ostream* out) { *out << shown.name; }

// The W2 rate table of a rate and hours; empty if the calculator refuses them.
inline std::string RateTable(std::string_view rate, std::string_view hours) {
  calc::PayCalc pay_calc;
  std::string table;
  if (!(pay_calc.CheckRateW2(rate) && pay_calc.CheckHoursW2(hours) && pay_calc.SolveW2() &&
        pay_calc.BuildRateTable(table))) {
    table.clear();
  }
  return table;
}

// Every help page, the program's strings on the About tab and in the About box, and a rate table
// of seven-figure salaries ($500 an hour for a year of 2080 hours).
inline std::vector<ShownText> TextsShownAtRunTime() {
  std::vector<ShownText> texts;
  texts.reserve(kHelpPageCount + 9);
  for (int page = 0; page < kHelpPageCount; ++page) {
    texts.push_back({"help_page_" + std::to_string(page + 1), &kMainDialogTemplate, kHelpText,
                     std::string(HelpPageText(page))});
  }
  const struct {
    const char* name;
    int id;
    int string_id;
  } kAboutStrings[] = {
      {"version", kVersionText, kVersionString},
      {"copyright", kCopyrightText, kCopyrightString},
      {"authors", kAuthorsText, kAuthorsString},
      {"disclaimer", kDisclaimerText, kDisclaimerString},
  };
  for (const auto& about : kAboutStrings) {
    texts.push_back({std::string("about_page_") + about.name, &kMainDialogTemplate, about.id,
                     LoadString(about.string_id)});
    texts.push_back({std::string("about_box_") + about.name, &kAboutTemplate, about.id,
                     LoadString(about.string_id)});
  }
  texts.push_back({"w2_rate_table", &kMainDialogTemplate, kW2RateTable, RateTable("500", "2080")});
  return texts;
}

}  // namespace qup::ui

#endif  // QUP_TESTS_SUPPORT_SHOWN_TEXTS_H
