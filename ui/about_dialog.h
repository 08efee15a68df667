// SPDX-License-Identifier: MIT
// The About box: its template, its modal run over the main window, and its window menu entry.
#ifndef QUP_UI_ABOUT_DIALOG_H
#define QUP_UI_ABOUT_DIALOG_H

#include <array>
#include <string>

#include "ui/about_texts.h"
#include "ui/control_ids.h"
#include "ui/platform/dialog_template.h"
#include "ui/platform/platform.h"
#include "ui/platform/window.h"

namespace qup::ui {

// The box is 140 units high rather than 94 so that the disclaimer, below the authors, shows in
// full; the other controls keep their places.
inline constexpr std::array kAboutControls{
    ControlSpec{
        kAboutBoxIcon, ControlKind::kIcon, "", {11, 17, 20, 20}, kNoPage, kNoFlags, kLargeIcon},
    ControlSpec{kVersionText, ControlKind::kStatic, "", {40, 10, 119, 8}, kNoPage, kNoPrefix},
    ControlSpec{kCopyrightText, ControlKind::kStatic, "", {40, 25, 119, 8}, kNoPage},
    ControlSpec{kIdOk, ControlKind::kPushButton, "OK", {178, 7, 50, 14}, kNoPage, kDefaultButton},
    ControlSpec{kAuthorsText, ControlKind::kStatic, "", {13, 44, 140, 42}, kNoPage},
    ControlSpec{kDisclaimerText, ControlKind::kStatic, "", {13, 92, 209, 42}, kNoPage},
};

inline constexpr std::array kAboutAccessibleNames{
    AccessibleName{kAboutBoxIcon, kNoLabel, "Quorvane Utility icon"},
};

inline constexpr DialogTemplate kAboutTemplate{
    kAboutTemplateId,     "About Quorvane Utility Program", 235, 140, kAboutControls,
    kAboutAccessibleNames};

// Appends a separator and the About entry (command kAboutCommand) to the window menu. Called
// once at start-up; adds nothing when the window has no menu or the entry's text is missing.
void AppendAboutMenuEntry(Window& window);

// The About box. Each instance loads the four texts afresh; OK, Esc and the close button all
// close it and change nothing else.
class AboutDialog : public DialogHandler {
 public:
  AboutDialog();
  // Runs the box modally over owner, which takes no input meanwhile; returns how it was closed.
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
