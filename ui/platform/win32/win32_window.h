// SPDX-License-Identifier: MIT
// One dialog on the Windows API: the window operations on its native controls, and the dialog
// procedure that hands the user's actions to the logic.
#ifndef QUP_UI_PLATFORM_WIN32_WIN32_WINDOW_H
#define QUP_UI_PLATFORM_WIN32_WIN32_WINDOW_H

#include <windows.h>
// The window operations have a MessageBox of their own; the API's is called by its full name.
#undef MessageBox

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/platform/window.h"

namespace qup::ui {

class Win32Window : public Window {
 public:
  // Made as the dialog receives WM_INITDIALOG: takes over the controls the template made, and
  // keeps the others (a tab page's, left out of the template) to make when they show.
  Win32Window(HWND dialog, const DialogTemplate& layout);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

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

  // The control's window, made now if it has none yet; null for an id the dialog lacks.
  HWND Control(int id);

 private:
  // A control on a tab page gets its window only when it first shows (with its page, or with
  // the dialog when the logic leaves it showing) or a caller needs its window: the start page
  // shows 2 of the main window's 70 controls, and making the others, the combo boxes most of
  // all, took longer than the rest of the start together. Until then the control keeps what
  // the logic sets on it, as the native control would hold it, and answers from that.
  struct Unmade {
    std::string text;  // an editable box's text; a drop list shows its selection
    std::vector<std::string> entries;
    int selection = -1;
    int limit = 0;  // none set by the logic
    bool shown = true;
    bool enabled = true;
    bool checked = false;
  };

  // Notes a window of the dialog's among its controls' (EnumChildWindows).
  static BOOL CALLBACK NoteControl(HWND child, LPARAM self);
  // The control's window, null while it is unmade.
  HWND Handle(int id) const;
  const Unmade* Pending(int id) const;
  Unmade* Pending(int id) { return const_cast<Unmade*>(std::as_const(*this).Pending(id)); }
  // Makes the control's window, hidden, with what the logic set on it, and forgets that.
  HWND MakeHidden(int id);
  void MakeShownControls();
  // What every control gets as it is made: the edits' limit and line breaks, a picture's size.
  void Prepare(HWND control, const ControlSpec& layout_entry);
  const ControlSpec* LayoutEntry(int id) const { return FindControl(layout_, id); }
  std::size_t IndexOf(const ControlSpec& entry) const {
    return static_cast<std::size_t>(&entry - layout_.controls.data());
  }
  std::vector<std::string> ComboEntries(int id) const;
  void MoveRadioTabStop(int id);

  HWND dialog_;
  const DialogTemplate& layout_;
  std::vector<HWND> handles_;  // by the layout's order, each control's window once made
  std::map<int, Unmade> unmade_;
  std::vector<HBITMAP> pictures_;  // drawn at the dialog's scale; the controls show them
};

// What RunModal hands the dialog procedure.
struct Win32DialogRun {
  const DialogTemplate& layout;
  DialogHandler& handler;
  std::unique_ptr<Win32Window> window;  // from WM_INITDIALOG on
  HHOOK page_keys = nullptr;            // the keys that choose a page, while the dialog exists
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_WIN32_WIN32_WINDOW_H
