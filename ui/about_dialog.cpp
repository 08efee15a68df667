// SPDX-License-Identifier: MIT
// Placeholder until the About box lands.
#include "ui/about_dialog.h"

namespace qup::ui {

std::string LoadString(int) { return {}; }
void AppendAboutMenuEntry(Window&) {}
AboutDialog::AboutDialog() = default;
int AboutDialog::DoModal(Platform&, Window&) { return kIdCancel; }
void AboutDialog::OnInitDialog(Window& window) { window_ = &window; }
void AboutDialog::OnCommand(int, Notification) {}
void AboutDialog::OnSysCommand(unsigned) {}

}  // namespace qup::ui
