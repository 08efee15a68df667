// SPDX-License-Identifier: MIT
// A window and platform kept in memory for the help and About tests: texts, enabled states,
// the window menu, and modal runs whose user actions the test scripts.
#ifndef QUP_TESTS_UI_HELP_FAKE_WINDOW_H
#define QUP_TESTS_UI_HELP_FAKE_WINDOW_H

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/platform/platform.h"
#include "ui/platform/window.h"

namespace qup::ui::testing {

struct MenuItem {
  bool separator = false;
  unsigned command = 0;
  std::string text;
};

class FakeWindow : public Window {
 public:
  FakeWindow() = default;
  // A window made from a template: its controls with their captions, all enabled.
  explicit FakeWindow(const DialogTemplate& dialog) : title_(dialog.title) {
    for (const ControlSpec& control : dialog.controls) {
      texts_[control.id] = std::string(control.caption);
      enabled_[control.id] = (control.flags & kDisabled) == 0;
    }
    restricted_ = true;
  }

  void SetText(int id, std::string_view text) override {
    if (Holds(id)) texts_[id] = std::string(text);
  }
  std::string GetText(int id) const override {
    const auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
  }
  void Show(int, bool) override {}
  bool IsVisible(int) const override { return true; }
  void Enable(int id, bool enabled) override {
    if (Holds(id)) enabled_[id] = enabled;
  }
  bool IsEnabled(int id) const override {
    const auto it = enabled_.find(id);
    return it == enabled_.end() ? !restricted_ : it->second;
  }
  void SetFocus(int) override {}
  int FocusedControl() const override { return 0; }
  void SetCheck(int, int) override {}
  int GetCheck(int) const override { return 0; }
  void ComboAddString(int, std::string_view) override {}
  int ComboSelectString(int, std::string_view) override { return kComboError; }
  int ComboGetCurSel(int) const override { return kComboError; }
  void ComboSetCurSel(int, int) override {}
  void LimitText(int, int) override {}
  void TabInsertItem(int, int, std::string_view) override {}
  int TabGetCurSel(int) const override { return 0; }
  void TabSetCurSel(int, int) override {}
  void SetIcons(int, int) override {}
  bool HasSystemMenu() const override { return has_system_menu_; }
  void AppendSystemMenuSeparator() override { menu_.push_back({true, 0, {}}); }
  void AppendSystemMenuItem(unsigned command, std::string_view text) override {
    menu_.push_back({false, command, std::string(text)});
  }
  void MessageBox(std::string_view text, std::string_view, int) override {
    message_boxes_.emplace_back(text);
  }
  Rect MapDialogRect(Rect dialog_units) const override { return dialog_units; }
  void EndDialog(int result) override { result_ = result; }

  void set_has_system_menu(bool has) { has_system_menu_ = has; }
  const std::vector<MenuItem>& menu() const { return menu_; }
  const std::vector<std::string>& message_boxes() const { return message_boxes_; }
  std::optional<int> result() const { return result_; }
  const std::string& title() const { return title_; }

 private:
  bool Holds(int id) const { return !restricted_ || texts_.contains(id); }

  std::string title_;
  bool restricted_ = false;  // a window made from a template ignores ids it does not hold
  std::map<int, std::string> texts_;
  std::map<int, bool> enabled_;
  bool has_system_menu_ = true;
  std::vector<MenuItem> menu_;
  std::vector<std::string> message_boxes_;
  std::optional<int> result_;
};

// Runs each modal dialog in a FakeWindow: initialises it, lets the scripted user act on it, and
// returns the result the handler ended it with (-1 if it was never ended).
class FakePlatform : public Platform {
 public:
  using User = std::function<void(FakeWindow& dialog, DialogHandler& handler)>;

  void set_user(User user) { user_ = std::move(user); }

  int RunModal(const DialogTemplate& dialog, DialogHandler& handler, Window* owner) override {
    runs_.push_back({dialog.id, owner});
    FakeWindow window(dialog);
    handler.OnInitDialog(window);
    if (user_) user_(window, handler);
    last_window_ = window;
    return window.result().value_or(-1);
  }
  void MessageBox(std::string_view text, std::string_view, int) override {
    message_boxes_.emplace_back(text);
  }
  void OpenUrl(std::string_view url) override { opened_urls_.emplace_back(url); }
  WindowRef FindTopLevelWindow(std::string_view) override { return 0; }
  void SetForegroundWindow(WindowRef) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  std::string DisplayName() const override { return "qup"; }

  struct Run {
    int template_id;
    Window* owner;
  };
  const std::vector<Run>& runs() const { return runs_; }
  const FakeWindow& last_window() const { return last_window_; }
  const std::vector<std::string>& message_boxes() const { return message_boxes_; }
  const std::vector<std::string>& opened_urls() const { return opened_urls_; }

 private:
  User user_;
  std::vector<Run> runs_;
  FakeWindow last_window_;
  std::vector<std::string> message_boxes_;
  std::vector<std::string> opened_urls_;
};

}  // namespace qup::ui::testing

#endif  // QUP_TESTS_UI_HELP_FAKE_WINDOW_H
