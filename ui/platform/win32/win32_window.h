// SPDX-License-Identifier: MIT
// One dialog on the Windows API: the window operations on its native controls, and the dialog
// procedure that hands the user's actions to the logic.
#ifndef QUP_UI_PLATFORM_WIN32_WIN32_WINDOW_H
#define QUP_UI_PLATFORM_WIN32_WIN32_WINDOW_H

#include <windows.h>
// The window operations have a MessageBox of their own; the API's is called by its full name.
#undef MessageBox

#include <memory>
#include <string>
#include <vector>

#include "ui/platform/window.h"

namespace qup::ui {

class Win32Window : public Window {
 public:
  Win32Window(HWND dialog, const DialogTemplate& layout) : dialog_(dialog), layout_(layout) {}

  HWND handle() const { return dialog_; }
  const DialogTemplate& Layout() const { return layout_; }

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
  void SetIcons(int large_icon, int small_icon) override;
  bool HasSystemMenu() const override;
  void AppendSystemMenuSeparator() override;
  void AppendSystemMenuItem(unsigned command, std::string_view text) override;
  void MessageBox(std::string_view text, std::string_view caption, int type) override;
  Rect MapDialogRect(Rect dialog_units) const override;
  void EndDialog(int result) override;

  // The dialog procedure of every dialog the platform runs; the handler and the window come
  // with WM_INITDIALOG.
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  HWND Control(int id) const { return ::GetDlgItem(dialog_, id); }
  const ControlSpec* LayoutEntry(int id) const { return FindControl(layout_, id); }
  std::vector<std::string> ComboEntries(int id) const;
  void MoveRadioTabStop(int id);

  HWND dialog_;
  const DialogTemplate& layout_;
  std::wstring title_;
};

// What RunModal hands the dialog procedure.
struct Win32DialogRun {
  const DialogTemplate& layout;
  DialogHandler& handler;
  std::unique_ptr<Win32Window> window;  // while the dialog exists
  HBRUSH page_brush = nullptr;
  HHOOK page_keys = nullptr;        // the keys that choose a page, while the dialog exists
  std::vector<HBITMAP> pictures{};  // the pictures drawn at the dialog's scale, while it exists
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_WIN32_WIN32_WINDOW_H
