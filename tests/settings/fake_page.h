// SPDX-License-Identifier: MIT
// A stand-in for the main window's 1099 page and the platform, enough for the settings hooks:
// texts, check states of the radio pairs, enabled states and unowned message boxes.
#ifndef QUP_TESTS_SETTINGS_FAKE_PAGE_H
#define QUP_TESTS_SETTINGS_FAKE_PAGE_H

#include <map>
#include <string>
#include <vector>

#include "settings/settings_record.h"
#include "ui/platform/platform.h"
#include "ui/platform/window.h"

namespace qup::settings::testing {

class FakePage : public ui::Window {
 public:
  FakePage() {
    // As the dialog template has them: period boxes disabled, no button checked.
    for (const RadioRow& row : kRadioRows) enabled_[row.period_id] = false;
  }

  void SetText(int id, std::string_view text) override { texts_[id] = std::string(text); }
  std::string GetText(int id) const override { return Lookup(texts_, id, std::string()); }
  void Show(int, bool) override {}
  bool IsVisible(int) const override { return true; }
  void Enable(int id, bool enabled) override { enabled_[id] = enabled; }
  bool IsEnabled(int id) const override { return Lookup(enabled_, id, true); }
  void SetFocus(int) override {}
  int FocusedControl() const override { return 0; }
  void SetCheck(int id, int state) override {
    checks_[id] = state;
    if (state == 0) return;
    for (const RadioRow& row : kRadioRows) {
      if (id == row.percent_id) checks_[row.dollar_id] = 0;
      if (id == row.dollar_id) checks_[row.percent_id] = 0;
    }
  }
  int GetCheck(int id) const override { return Lookup(checks_, id, 0); }
  void ComboAddString(int, std::string_view) override {}
  int ComboSelectString(int, std::string_view) override { return ui::kComboError; }
  int ComboGetCurSel(int) const override { return ui::kComboError; }
  void ComboSetCurSel(int, int) override {}
  void LimitText(int, int) override {}
  void TabInsertItem(int, int, std::string_view) override {}
  int TabGetCurSel(int) const override { return 0; }
  void TabSetCurSel(int, int) override {}
  void SetIcons(int, int) override {}
  bool HasSystemMenu() const override { return true; }
  void AppendSystemMenuSeparator() override {}
  void AppendSystemMenuItem(unsigned, std::string_view) override {}
  void MessageBox(std::string_view text, std::string_view, int) override {
    owned_messages.emplace_back(text);
  }
  ui::Rect MapDialogRect(ui::Rect dialog_units) const override { return dialog_units; }
  void EndDialog(int) override {}

  std::vector<std::string> owned_messages;

 private:
  template <typename Value>
  static Value Lookup(const std::map<int, Value>& map, int id, Value missing) {
    const auto found = map.find(id);
    return found == map.end() ? missing : found->second;
  }

  std::map<int, std::string> texts_;
  std::map<int, bool> enabled_;
  std::map<int, int> checks_;
};

struct ShownMessage {
  std::string text;
  std::string caption;
  int type;
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

class FakePlatform : public ui::Platform {
 public:
  int RunModal(const ui::DialogTemplate&, ui::DialogHandler&, ui::Window*) override { return 0; }
  void MessageBox(std::string_view text, std::string_view caption, int type) override {
    messages.push_back({std::string(text), std::string(caption), type});
  }
  void OpenUrl(std::string_view) override {}
  ui::WindowRef FindTopLevelWindow(std::string_view) override { return 0; }
  void SetForegroundWindow(ui::WindowRef) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  std::string DisplayName() const override { return "qup"; }

  std::vector<ShownMessage> messages;
};

}  // namespace qup::settings::testing

#endif  // QUP_TESTS_SETTINGS_FAKE_PAGE_H
