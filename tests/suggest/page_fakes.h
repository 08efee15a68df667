// SPDX-License-Identifier: MIT
// A stand-in for the Suggestions page's window and the platform: it holds the box's text and
// its limit, and records every message box, browser request and busy cursor change.
#ifndef QUP_TESTS_SUGGEST_PAGE_FAKES_H
#define QUP_TESTS_SUGGEST_PAGE_FAKES_H

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/platform/platform.h"
#include "ui/platform/window.h"

namespace qup::suggest::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  int type = 0;
  bool busy_cursor = false;  // the busy cursor was on while the message showed
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

class FakePlatform : public ui::Platform {
 public:
  int RunModal(const ui::DialogTemplate&, ui::DialogHandler&, ui::Window*) override { return 0; }
  void MessageBox(std::string_view text, std::string_view caption, int type) override {
    unowned_messages.push_back({std::string(text), std::string(caption), type, busy > 0});
  }
  void OpenUrl(std::string_view url) override { opened_urls.emplace_back(url); }
  ui::WindowRef FindTopLevelWindow(std::string_view) override { return 0; }
  void SetForegroundWindow(ui::WindowRef) override {}
  void BeginWaitCursor() override {
    ++busy;
    ++busy_begun;
  }
  void EndWaitCursor() override { --busy; }
  std::string DisplayName() const override { return "qup"; }

  int busy = 0;        // cursor changes still in force
  int busy_begun = 0;  // how often it was turned on
  std::vector<ShownMessage> unowned_messages;
  std::vector<std::string> opened_urls;
};

class FakeWindow : public ui::Window {
 public:
  explicit FakeWindow(const FakePlatform& platform) : platform_(platform) {}

  void SetText(int id, std::string_view text) override { texts_[id] = text; }
  std::string GetText(int id) const override {
    const auto found = texts_.find(id);
    return found == texts_.end() ? std::string() : found->second;
  }
  void Show(int, bool) override {}
  bool IsVisible(int) const override { return true; }
  void Enable(int, bool) override {}
  bool IsEnabled(int) const override { return true; }
  void SetFocus(int id) override { focus_ = id; }
  int FocusedControl() const override { return focus_; }
  void SetCheck(int, int) override {}
  int GetCheck(int) const override { return 0; }
  void ComboAddString(int, std::string_view) override {}
  int ComboSelectString(int, std::string_view) override { return ui::kComboError; }
  int ComboGetCurSel(int) const override { return ui::kComboError; }
  void ComboSetCurSel(int, int) override {}
  void LimitText(int id, int max_chars) override { limits_[id] = max_chars; }
  void TabInsertItem(int, int, std::string_view) override {}
  int TabGetCurSel(int) const override { return 0; }
  void TabSetCurSel(int, int) override {}
  void SetIcons(int, int) override {}
  bool HasSystemMenu() const override { return true; }
  void AppendSystemMenuSeparator() override {}
  void AppendSystemMenuItem(unsigned, std::string_view) override {}
  void MessageBox(std::string_view text, std::string_view caption, int type) override {
    messages.push_back({std::string(text), std::string(caption), type, platform_.busy > 0});
  }
  ui::Rect MapDialogRect(ui::Rect rect) const override { return rect; }
  void EndDialog(int) override {}

  int Limit(int id) const { return limits_.contains(id) ? limits_.at(id) : 0; }

  std::vector<ShownMessage> messages;  // owned by this window, in order

 private:
  const FakePlatform& platform_;
  std::map<int, std::string> texts_;
  std::map<int, int> limits_;
  int focus_ = 0;
};

}  // namespace qup::suggest::testing

#endif  // QUP_TESTS_SUGGEST_PAGE_FAKES_H
