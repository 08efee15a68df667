// SPDX-License-Identifier: MIT
// QtPlatform: the user-interface platform on Qt Widgets, with X11 for finding other windows.
#ifndef QUP_UI_PLATFORM_QT_QT_PLATFORM_H
#define QUP_UI_PLATFORM_QT_QT_PLATFORM_H

#include <string>
#include <string_view>
#include <vector>

#include "ui/platform/platform.h"

class QWidget;

namespace qup::ui {

class QtWindow;

class QtPlatform : public Platform {
 public:
  // display_name names the program in captions; empty takes it from the executable's name.
  // A QApplication must exist for as long as the platform is used.
  explicit QtPlatform(std::string display_name = {});

  int RunModal(const DialogTemplate& dialog, DialogHandler& handler, Window* owner) override;
  void MessageBox(std::string_view text, std::string_view caption, int type) override;
  void OpenUrl(std::string_view url) override;
  WindowRef FindTopLevelWindow(std::string_view title) override;
  void SetForegroundWindow(WindowRef window) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  std::string DisplayName() const override { return display_name_; }

  // A modal message box with one OK button; owner null for none.
  void ShowMessageBox(QWidget* owner, std::string_view text, std::string_view caption, int type);

  // The dialog in front: the one most recently started of those still running; null if none.
  QtWindow* FrontWindow() const { return running_.empty() ? nullptr : running_.back(); }

 private:
  std::string display_name_;
  std::vector<QtWindow*> running_;
  int wait_cursors_ = 0;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_QT_PLATFORM_H
