// SPDX-License-Identifier: MIT
// Placeholder until the help pages land.
#include "ui/help_pages.h"

namespace qup::ui {

std::string_view HelpPageText(int) { return {}; }
void HelpPager::Init(Window&, std::string&) {}
void HelpPager::OnHelpPrev(Window&, std::string&) {}
void HelpPager::OnHelpNext(Window&, std::string&) {}

}  // namespace qup::ui
