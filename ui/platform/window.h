// SPDX-License-Identifier: MIT
// The operations on one dialog window that the dialog logic relies on, addressed by control id,
// and the notifications the window sends back to the logic.
#ifndef QUP_UI_PLATFORM_WINDOW_H
#define QUP_UI_PLATFORM_WINDOW_H

#include <string>
#include <string_view>

#include "ui/platform/dialog_template.h"

namespace qup::ui {

// Command ids that the window itself issues: Enter gives kIdOk, Esc kIdCancel.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// System commands. The logic compares About with the low four bits cleared.
inline constexpr unsigned kScClose = 0xF060;
inline constexpr unsigned kAboutCommand = 0x0010;

// Message box types: one OK button and the icon the number names.
inline constexpr int kMbOk = 0;
inline constexpr int kMbIconStop = 16;
inline constexpr int kMbIconExclamation = 48;
inline constexpr int kMbIconInformation = 64;

inline constexpr int kComboError = -1;  // no entry selected, or none found

enum class Notification {
  kClicked,   // a push or radio button was pressed, or the command kIdOk / kIdCancel
  kSetFocus,  // an edit received the keyboard focus
  kMaxText,   // an edit refused text because of its limit
};

// One window on screen. Texts are UTF-8. Every operation on an id that the template does not
// hold is ignored (reads give empty or zero values). The rules that are the program's own are
// control_rules.h's; tests/support/window_contract.h holds the cases every implementation passes.
class Window {
 public:
  virtual ~Window() = default;

  // Replaces the whole text. On a combo box it sets the editable text and selects no entry; a
  // drop list, which has no text of its own, selects the entry equal to the text ignoring case,
  // and stays as it was when none is.
  virtual void SetText(int id, std::string_view text) = 0;
  // The whole current text; for a combo box the text of its editable field (or the selected
  // entry of a drop list).
  virtual std::string GetText(int id) const = 0;

  virtual void Show(int id, bool visible) = 0;
  virtual bool IsVisible(int id) const = 0;
  virtual void Enable(int id, bool enabled) = 0;
  virtual bool IsEnabled(int id) const = 0;
  // Ignored for a control that cannot take the focus now (of another kind, hidden, disabled).
  virtual void SetFocus(int id) = 0;
  virtual int FocusedControl() const = 0;  // 0 when no control has the focus

  // Radio buttons: 0 unchecked, 1 checked (any other state checks). SetCheck sets the one
  // button and leaves its partners, the other buttons of its group (RadioGroup in
  // control_rules.h), as they are: both of a pair may show checked. The user's press of a
  // button checks it and unchecks its partners.
  virtual void SetCheck(int id, int state) = 0;
  virtual int GetCheck(int id) const = 0;

  // Combo boxes: entries stay in the order added.
  virtual void ComboAddString(int id, std::string_view entry) = 0;
  // Selects the first entry that begins with prefix, ignoring case in every script that has
  // one; fails for an empty prefix.
  // Returns the index selected, or kComboError leaving the box as it was.
  virtual int ComboSelectString(int id, std::string_view prefix) = 0;
  virtual int ComboGetCurSel(int id) const = 0;
  virtual void ComboSetCurSel(int id, int index) = 0;

  // The most characters the user may add to an edit, counted as CountedLength does (a line
  // break counts as two); 0 lifts the limit, and a new edit takes 32767.
  virtual void LimitText(int id, int max_chars) = 0;

  // Tab control: only a change by the user notifies the logic.
  virtual void TabInsertItem(int id, int index, std::string_view caption) = 0;
  virtual int TabGetCurSel(int id) const = 0;
  virtual void TabSetCurSel(int id, int index) = 0;

  virtual void SetIcons(int large_icon, int small_icon) = 0;

  // The window menu. Returns false when the window has none.
  virtual bool HasSystemMenu() const = 0;
  virtual void AppendSystemMenuSeparator() = 0;
  virtual void AppendSystemMenuItem(unsigned command, std::string_view text) = 0;

  // A modal message box owned by this window; returns when the user has closed it.
  virtual void MessageBox(std::string_view text, std::string_view caption, int type) = 0;

  // A rectangle in dialog units converted to client pixels at this window's base units.
  virtual Rect MapDialogRect(Rect dialog_units) const = 0;

  // Ends the modal run of this window with the given result.
  virtual void EndDialog(int result) = 0;
};

// What a dialog's logic does with the window's notifications. The platform calls these on the
// GUI thread, one at a time, each to completion.
class DialogHandler {
 public:
  virtual ~DialogHandler() = default;

  // The window and its controls exist; the handler fills them.
  virtual void OnInitDialog(Window& window) = 0;
  // Button clicks, kIdOk (Enter) and kIdCancel (Esc), and edit notifications.
  virtual void OnCommand(int id, Notification code) = 0;
  // The user selected another tab of tab control id.
  virtual void OnTabSelChange(int /*id*/) {}
  // A system command: kScClose from the close button, Alt+F4 or the window menu's Close,
  // and whatever the logic appended to the window menu.
  virtual void OnSysCommand(unsigned command) = 0;
  // The left mouse button pressed over the client area where no control takes mouse input
  // (pictures, static texts and the tab control's page area pass it on), in client pixels.
  virtual void OnLButtonDown(Point /*client_pixels*/) {}
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_WINDOW_H
