// SPDX-License-Identifier: MIT
// The About box and its window menu entry.
#include "ui/about_dialog.h"

namespace qup::ui {

void AppendAboutMenuEntry(Window& window) {
  if (!window.HasSystemMenu()) return;
  const std::string entry = LoadString(kAboutMenuString);
  if (entry.empty()) return;
  window.AppendSystemMenuSeparator();
  window.AppendSystemMenuItem(kAboutCommand, entry);
}

AboutDialog::AboutDialog()
    : authors_(LoadString(kAuthorsString)),
      copyright_(LoadString(kCopyrightString)),
      version_(LoadString(kVersionString)),
      disclaimer_(LoadString(kDisclaimerString)) {}

int AboutDialog::DoModal(Platform& platform, Window& owner) {
  const int result = platform.RunModal(kAboutTemplate, *this, &owner);
  window_ = nullptr;
  return result;
}

void AboutDialog::OnInitDialog(Window& window) {
  window_ = &window;
  window.SetText(kAuthorsText, authors_);
  window.SetText(kCopyrightText, copyright_);
  window.SetText(kVersionText, version_);
  window.SetText(kDisclaimerText, disclaimer_);
}

void AboutDialog::OnCommand(int id, Notification code) {
  if (window_ == nullptr || code != Notification::kClicked) return;
  if (id == kIdOk || id == kIdCancel) window_->EndDialog(id);
}

void AboutDialog::OnSysCommand(unsigned command) {
  if (window_ != nullptr && command == kScClose) window_->EndDialog(kIdCancel);
}

}  // namespace qup::ui
