// SPDX-License-Identifier: MIT
// The eight help pages and the stepping through them on the Help page.
#ifndef QUP_UI_HELP_PAGES_H
#define QUP_UI_HELP_PAGES_H

#include <string>
#include <string_view>

#include "ui/platform/window.h"

namespace qup::ui {

inline constexpr int kHelpPageCount = 8;

// The text of page index (0 to kHelpPageCount - 1); empty for any other index.
std::string_view HelpPageText(int index);

// The page index and its two stepping commands; the dialog owns the bound help text.
// After Init and after every command: "< Prev" is enabled exactly when the index is above 0,
// "Next >" exactly when it is below the last page, and the help text and control hold the page.
class HelpPager {
 public:
  // Page 0, "< Prev" disabled, the text shown.
  void Init(Window& window, std::string& help_text);
  // A step past either end, which the disabled buttons normally prevent, leaves the page as is.
  void OnHelpPrev(Window& window, std::string& help_text);
  void OnHelpNext(Window& window, std::string& help_text);
  int index() const { return index_; }

 private:
  void ShowPage(int index, Window& window, std::string& help_text);

  int index_ = 0;
};

}  // namespace qup::ui

#endif  // QUP_UI_HELP_PAGES_H
