// SPDX-License-Identifier: MIT
// The About texts (string table 101 to 105), the About box and its window menu entry.
#ifndef QUP_UI_ABOUT_DIALOG_H
#define QUP_UI_ABOUT_DIALOG_H

#include <string>

#include "ui/platform/platform.h"
#include "ui/platform/window.h"

namespace qup::ui {

inline constexpr int kAboutMenuString = 101;
inline constexpr int kAuthorsString = 102;
inline constexpr int kVersionString = 103;
inline constexpr int kCopyrightString = 104;
inline constexpr int kDisclaimerString = 105;

// The program's string table; an id it does not hold gives the empty text.
std::string LoadString(int id);

// Appends a separator and the About entry to the window menu, once, at start-up.
void AppendAboutMenuEntry(Window& window);

// The About box, run modally over its owner.
class AboutDialog : public DialogHandler {
 public:
  AboutDialog();
  int DoModal(Platform& platform, Window& owner);

  void OnInitDialog(Window& window) override;
  void OnCommand(int id, Notification code) override;
  void OnSysCommand(unsigned command) override;

 private:
  Window* window_ = nullptr;
  std::string authors_;
  std::string copyright_;
  std::string version_;
  std::string disclaimer_;
};

}  // namespace qup::ui

#endif  // QUP_UI_ABOUT_DIALOG_H
