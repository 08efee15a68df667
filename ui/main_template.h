// SPDX-License-Identifier: MIT
// Template 102, the main window: its title, its controls in creation order, and its six pages.
#ifndef QUP_UI_MAIN_TEMPLATE_H
#define QUP_UI_MAIN_TEMPLATE_H

#include <array>
#include <span>
#include <string_view>

#include "ui/control_ids.h"
#include "ui/platform/dialog_template.h"

namespace qup::ui {

// The main window's caption. A second start finds the running copy by exactly this title.
inline constexpr std::string_view kMainWindowTitle = "Quorvane Utility Program (QUP)";

// Every control of the main window, in template order (creation and Tab order).
extern const DialogTemplate kMainDialogTemplate;

inline constexpr int kNoFocus = 0;

// One tab page: its caption, the controls that show while its tab is selected, and the
// control that receives the keyboard focus when the page is shown (kNoFocus for none).
struct PageSpec {
  std::string_view caption;
  std::span<const int> controls;
  int focus;
};

// The six pages, indexed by Page.
extern const std::array<PageSpec, kPageCount> kMainPages;

}  // namespace qup::ui

#endif  // QUP_UI_MAIN_TEMPLATE_H
