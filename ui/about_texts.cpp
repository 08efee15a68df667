// SPDX-License-Identifier: MIT
// The program's string table.
#include "ui/about_texts.h"

#include <array>

namespace qup::ui {
namespace {

struct StringEntry {
  int id;
  std::string_view text;
};

// The authors text lines up in two columns: the label, a tab and the first entry, then each
// further entry on a line of its own behind a tab.
constexpr std::array kStringTable{
    StringEntry{kAboutMenuString, "&About Quorvane Utility..."},
    StringEntry{kAuthorsString,
                "Authors:\tMaren Altweld\n"
                "\tTobiah Quennell\n"
                "\tIlse Vardamont\n"
                "\tsupport@kestrane.example"},
    StringEntry{kVersionString, "Quorvane Utility Version 1.1"},
    StringEntry{kCopyrightString, "Copyright (C) 2026 Kestrane"},
    StringEntry{
        kDisclaimerString,
        "Disclaimer:\n"
        "The use of information contained in this application is for informational "
        "purposes only and should not be construed as legal advice.  " QUP_SITE_DISPLAY_NAME_LITERAL
        " does NOT guarantee the accuracy or applicability of any calculations."},
};

}  // namespace

std::string LoadString(int id) {
  for (const StringEntry& entry : kStringTable) {
    if (entry.id == id) return std::string(entry.text);
  }
  return {};
}

}  // namespace qup::ui
