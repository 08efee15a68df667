// SPDX-License-Identifier: MIT
// A dialog window held in memory: its controls' state, and the user's actions on it for tests.
#ifndef QUP_UI_PLATFORM_MEMORY_MEMORY_WINDOW_H
#define QUP_UI_PLATFORM_MEMORY_MEMORY_WINDOW_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/platform/control_rules.h"
#include "ui/platform/dialog_template.h"
#include "ui/platform/window.h"

namespace qup::ui {

class MemoryPlatform;

// One dialog created from its template. It keeps what the logic relies on (text, visibility,
// enabled and check state, the focus, combo box lists, text limits, tabs, the window menu) and
// lets a test act on it as a user does. Every user action returns false, and does nothing, when
// the window would not take it: the control is missing, hidden or disabled, the window has ended,
// or a nested modal run (the About box) has it blocked.
//
// Choices of this model where the real platform leaves room:
// - A radio button takes any non-zero check state as checked (and stores 1).
// - Hiding or disabling the focused control leaves no control with the focus.
// - SetFocus on a hidden or disabled control is ignored.
// - The focus moving to an edit, by the user or by the logic, notifies kSetFocus.
// The rules that are the program's own (radio partners, Tab stops, the default button, combo
// matching, text limits) are control_rules.h's, as in every window.
class MemoryWindow : public Window {
 public:
  struct MenuItem {
    unsigned command;  // 0 for a separator
    std::string text;
  };

  MemoryWindow(MemoryPlatform& platform, const DialogTemplate& dialog, DialogHandler& handler,
               MemoryWindow* owner);

  // Window.
  void SetText(int id, std::string_view text) override;
  std::string GetText(int id) const override;
  void Show(int id, bool visible) override;
  bool IsVisible(int id) const override;
  void Enable(int id, bool enabled) override;
  bool IsEnabled(int id) const override;
  void SetFocus(int id) override;
  int FocusedControl() const override { return focus_; }
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
  bool HasSystemMenu() const override { return has_system_menu_; }
  void AppendSystemMenuSeparator() override;
  void AppendSystemMenuItem(unsigned command, std::string_view text) override;
  void MessageBox(std::string_view text, std::string_view caption, int type) override;
  Rect MapDialogRect(Rect dialog_units) const override;
  void EndDialog(int result) override;

  // What the user does.

  // Presses a push button (which takes the focus) or a radio button (which checks it, clearing
  // its partner); the logic hears kClicked.
  bool Click(int id);
  // Clicks into an edit or combo box and types text at the end of what it holds. A single-line
  // edit or combo box takes the text up to its first line break; in a multi-line edit a line
  // feed becomes a line break (CR LF). Text beyond the limit is dropped and the logic hears
  // kMaxText. In a drop list the typed text selects the first entry it begins, ignoring case.
  bool Type(int id, std::string_view text);
  // Selects all of an edit's or combo box's text and types text over it.
  bool Retype(int id, std::string_view text);
  // Opens a combo box's list and picks the entry at index.
  bool Pick(int id, int index);
  // Clicks a tab of the tab control id; the logic hears of the change when it is one.
  bool PickTab(int id, int index);
  // Clicks into a control or reaches it with the Tab key: edits, combo boxes and buttons.
  bool MoveFocus(int id);
  // Tab (forward) or Shift+Tab: the focus moves to the next Tab stop that can take it.
  bool PressTab(bool forward = true);
  // Enter: a focused push button is pressed, a multi-line edit takes a line break, otherwise
  // the window's default button (or kIdOk when it has none) is issued.
  bool PressEnter();
  // Esc: issues kIdCancel.
  bool PressEsc();
  // An arrow key on a focused radio button moves to its group's neighbour and chooses it.
  bool PressArrow(Arrow arrow);
  // The window's close button (or Alt+F4): the system command kScClose.
  bool Close();
  // Chooses an entry of the window menu by its command.
  bool ChooseSystemMenuItem(unsigned command);
  // The left mouse button pressed at a point of the client area, in pixels. Controls that take
  // mouse input keep the press; elsewhere (pictures, static texts, group boxes, the tab
  // control's page area) the logic hears it.
  bool PressMouse(Point client_pixels);

  // What the user sees.
  const DialogTemplate& dialog() const { return dialog_; }
  std::string_view Title() const { return dialog_.title; }
  ControlKind Kind(int id) const;
  std::vector<std::string> ComboEntries(int id) const;
  // In counted characters; kNoTextLimit for none.
  std::size_t TextLimit(int id) const;
  // Ids of the visible controls, in template order.
  std::vector<int> VisibleControls() const;
  const std::vector<MenuItem>& SystemMenu() const { return system_menu_; }
  int LargeIcon() const { return large_icon_; }
  int SmallIcon() const { return small_icon_; }
  bool Ended() const { return ended_; }
  int Result() const { return result_; }
  // True while a nested modal run owned by this window (or a message box) is open.
  bool Blocked() const { return blocked_ > 0; }
  // The window that a nested modal run blocks, or null.
  MemoryWindow* Owner() const { return owner_; }

  // Pixels per 4 horizontal and 8 vertical dialog units; 6 × 13 unless a test sets others.
  void SetBaseUnits(int x, int y);

  // The platform blocks an owner while a nested modal run is open.
  void Block() { ++blocked_; }
  void Unblock() { --blocked_; }
  // The platform sets the initial focus once OnInitDialog has returned.
  void SetInitialFocus();

 private:
  struct Control {
    ControlSpec control_spec;
    std::string text;
    bool visible = true;
    bool enabled = true;
    int check = 0;
    std::vector<std::string> entries;       // combo boxes and tab controls
    int selected = kComboError;             // combo boxes and tab controls
    std::size_t limit = kDefaultTextLimit;  // edits, in counted characters
  };

  Control* Find(int id);
  const Control* Find(int id) const;
  // The control when the user can reach it now, else null.
  Control* Reachable(int id);
  // Whether the control takes the focus now: of a kind that does, visible and enabled.
  bool CanTakeFocus(const Control& control) const;
  void MoveFocusTo(int id);
  void Notify(int id, Notification code);
  bool InsertText(Control& control, std::string_view text);
  void CheckRadio(Control& control);

  MemoryPlatform& platform_;
  const DialogTemplate& dialog_;
  DialogHandler& handler_;
  MemoryWindow* owner_;
  std::vector<Control> controls_;
  int focus_ = 0;
  bool has_system_menu_ = true;
  std::vector<MenuItem> system_menu_;
  int large_icon_ = kNoResource;
  int small_icon_ = kNoResource;
  int base_x_ = 6;
  int base_y_ = 13;
  int blocked_ = 0;
  bool ended_ = false;
  int result_ = 0;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_MEMORY_MEMORY_WINDOW_H
