// SPDX-License-Identifier: MIT
// WebWindow: one dialog as real HTML controls in the page, driven through web_window.js.
#ifndef QUP_UI_PLATFORM_WEB_WEB_WINDOW_H
#define QUP_UI_PLATFORM_WEB_WEB_WINDOW_H

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/platform/base_units.h"
#include "ui/platform/window.h"

namespace qup::ui {

class WebWindow : public Window {
 public:
  // Builds the window and its controls in the page; an owned window stands over its owner.
  WebWindow(const DialogTemplate& dialog, bool owned);
  ~WebWindow() override;
  WebWindow(const WebWindow&) = delete;
  WebWindow& operator=(const WebWindow&) = delete;

  // Runs the window until the handler ends it: each action of the user, one at a time.
  int Run(DialogHandler& handler);

  void SetText(int id, std::string_view text) override;
  std::string GetText(int id) const override;
  void Show(int id, bool visible) override;
  bool IsVisible(int id) const override;
  void Enable(int id, bool enabled) override;
  bool IsEnabled(int id) const override;
  void SetFocus(int id) override;
  int FocusedControl() const override;
  void SetCheck(int id, int state) override;
  int GetCheck(int id) const override;
  void ComboAddString(int id, std::string_view entry) override;
  int ComboSelectString(int id, std::string_view prefix) override;
  int ComboGetCurSel(int id) const override;
  void ComboSetCurSel(int id, int index) override;
  void LimitText(int id, int max_chars) override;
  void TabInsertItem(int id, int index, std::string_view caption) override;
  int TabGetCurSel(int id) const override;
  void TabSetCurSel(int id, int index) override;
  void SetIcons(int /*large_icon*/, int /*small_icon*/) override {}
  // A page has no window menu: the About box is on its own tab.
  bool HasSystemMenu() const override { return false; }
  void AppendSystemMenuSeparator() override {}
  void AppendSystemMenuItem(unsigned /*command*/, std::string_view /*text*/) override {}
  void MessageBox(std::string_view text, std::string_view caption, int type) override;
  Rect MapDialogRect(Rect dialog_units) const override;
  void EndDialog(int result) override;

 private:
  const ControlSpec* Find(int id, bool (*kind)(ControlKind) = nullptr) const;
  void Create();
  void Dispatch(DialogHandler& handler, const int* event);
  bool CanTakeFocus(int id) const;

  const DialogTemplate& dialog_;
  BaseUnits base_units_;
  int handle_ = -1;
  bool ended_ = false;
  int result_ = 0;
  // The entries of each combo box, for the program's own rules of matching text to them.
  std::map<int, std::vector<std::string>> entries_;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_WEB_WEB_WINDOW_H
