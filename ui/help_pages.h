// SPDX-License-Identifier: MIT
// The eight help pages and the stepping through them on the Help page.
#ifndef QUP_UI_HELP_PAGES_H
#define QUP_UI_HELP_PAGES_H

#include <string>
#include <string_view>

#include "ui/platform/window.h"

namespace qup::ui {

inline constexpr int kHelpPageCount = 8;

std::string_view HelpPageText(int index);

// The page index and its two stepping commands; the dialog owns the bound help text.
class HelpPager {
 public:
  // Page 0, "< Prev" disabled, the text shown.
  void Init(Window& window, std::string& help_text);
  void OnHelpPrev(Window& window, std::string& help_text);
  void OnHelpNext(Window& window, std::string& help_text);
  int index() const { return index_; }

 private:
  int index_ = 0;
};

}  // namespace qup::ui

#endif  // QUP_UI_HELP_PAGES_H
