// SPDX-License-Identifier: MIT
// The window operations on the Windows API itself: real dialogs from in-memory templates,
// native controls, message boxes, the shell and the window search.
#ifndef QUP_UI_PLATFORM_WIN32_WIN32_PLATFORM_H
#define QUP_UI_PLATFORM_WIN32_WIN32_PLATFORM_H

#include "ui/platform/platform.h"

namespace qup::ui {

class Win32Platform : public Platform {
 public:
  // Registers the common controls the templates use.
  Win32Platform();

  int RunModal(const DialogTemplate& dialog, DialogHandler& handler, Window* owner) override;
  void MessageBox(std::string_view text, std::string_view caption, int type) override;
  void OpenUrl(std::string_view url) override;
  WindowRef FindTopLevelWindow(std::string_view title) override;
  void SetForegroundWindow(WindowRef window) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  std::string DisplayName() const override;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_WIN32_WIN32_PLATFORM_H
