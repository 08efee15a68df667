// SPDX-License-Identifier: MIT
// NotificationLog: a dialog handler that writes every notification down as a line of text.
#ifndef QUP_TESTS_SUPPORT_NOTIFICATION_LOG_H
#define QUP_TESTS_SUPPORT_NOTIFICATION_LOG_H

#include <functional>
#include <string>
#include <vector>

#include "ui/platform/window.h"

namespace qup::test_support {

using Events = std::vector<std::string>;

// Writes every notification down as a line of text ("101 clicked", "tab 115", "syscommand 16"),
// and runs a test's set-up in OnInitDialog.
class NotificationLog : public ui::DialogHandler {
 public:
  std::function<void(ui::Window&)> on_init;
  Events events;

  void OnInitDialog(ui::Window& window) override {
    if (on_init) on_init(window);
  }
  void OnCommand(int id, ui::Notification code) override {
    const char* name = code == ui::Notification::kClicked    ? "clicked"
                       : code == ui::Notification::kSetFocus ? "setfocus"
                                                             : "maxtext";
    events.push_back(std::to_string(id) + " " + name);
  }
  void OnTabSelChange(int id) override { events.push_back("tab " + std::to_string(id)); }
  void OnSysCommand(unsigned command) override {
    events.push_back("syscommand " + std::to_string(command));
  }
};

}  // namespace qup::test_support

#endif  // QUP_TESTS_SUPPORT_NOTIFICATION_LOG_H
