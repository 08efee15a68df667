// SPDX-License-Identifier: MIT
// QtWindow: a dialog template made of real Qt widgets, one widget per control, all children of
// the dialog, driven by a DialogHandler.
#ifndef QUP_UI_PLATFORM_QT_QT_WINDOW_H
#define QUP_UI_PLATFORM_QT_QT_WINDOW_H

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/platform/dialog_template.h"
#include "ui/platform/qt/dialog_units.h"
#include "ui/platform/window.h"

class QAbstractButton;
class QButtonGroup;
class QMenu;
class QRadioButton;

namespace qup::ui {

class QtPlatform;
class TabControl;
class Announcer;

class QtWindow : public QDialog, public Window {
 public:
  // owner is null for a window of its own (with its own task bar entry).
  QtWindow(const DialogTemplate& dialog, DialogHandler& handler, QtPlatform& platform,
           QWidget* owner);
  ~QtWindow() override;

  // Runs the window until the handler ends it: places it, shows it and returns its result.
  int Run();
  // Gives the first focus, places and shows the window as Run does, and returns at once: the
  // caller's event loop drives it (the window tests).
  void ShowWithoutRunning();

  // The widget that takes the user's input for control id (for a tab control its tab bar);
  // null for an id the template does not hold. Asking makes the control if it is not made
  // yet (see Control), for tools that reach the widgets directly.
  QWidget* InputWidget(int id) const;
  const DialogTemplate& Template() const { return dialog_; }
  // Opens the window menu at a point on the screen; it runs on its own, without blocking.
  QMenu* OpenWindowMenu(QPoint global_position);
  const DialogUnits& Units() const { return units_; }

  // Window.
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
  bool HasSystemMenu() const override { return true; }
  void AppendSystemMenuSeparator() override;
  void AppendSystemMenuItem(unsigned command, std::string_view text) override;
  void MessageBox(std::string_view text, std::string_view caption, int type) override;
  Rect MapDialogRect(Rect dialog_units) const override;
  void EndDialog(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A control on a tab page gets its widget only when it first shows (with the window or with
  // its page) or is asked about: the start page shows 3 of the window's 70 controls, making
  // the others first held the window back by a noticeable time, and a page the user never
  // opens costs nothing. Until then the control keeps what the logic sets on it.
  struct Control {
    const ControlSpec* control_spec = nullptr;
    QWidget* widget = nullptr;  // for a tab control its tab bar
    int radio_group = -1;       // index into radio_groups_, for a radio button
    bool shown = true;
    bool enabled = true;
    bool checked = false;
    std::vector<std::function<void()>> pending;  // in the order they were asked for
  };
  struct MenuEntry {
    unsigned command;  // 0 for a separator
    QString text;
  };

  void CreateControl(Control& control);
  // The control's widget, made now if it has none yet (with its radio partners, whose
  // checks depend on one another).
  QWidget* Widget(Control& control) const;
  // Runs action now if the control has its widget, else keeps it for when it gets one.
  bool Defer(Control& control, std::function<void()> action) const;
  bool IsShown(const Control& control) const;
  bool IsEnabled(const Control& control) const;
  Control* Find(int id) const;
  int ControlIdOf(const QWidget* widget) const;
  // Whether control id can take the focus now: shown and enabled.
  bool CanTakeFocus(int id) const;
  // Whether control id is a Tab stop for screen reader users only: a table with rows to read.
  bool IsReaderStop(int id) const;
  void FocusFirstTabStop();
  void PressEnter();
  // Tells a screen reader the name of the page the user has just switched to.
  void TellPageShown();
  void PressRadio(QRadioButton* radio);
  void Place();

  const DialogTemplate& dialog_;
  DialogHandler& handler_;
  QtPlatform& platform_;
  DialogUnits units_;
  // Mutable: a control's widget is made on the first question about it, too.
  mutable std::vector<Control> controls_;  // template order
  std::map<int, std::size_t> index_of_;
  std::unique_ptr<TabControl> tab_control_;
  Announcer* announcer_ = nullptr;  // a child of the window
  int tab_control_id_ = 0;
  std::vector<QButtonGroup*> radio_groups_;
  std::vector<MenuEntry> menu_entries_;
  bool ended_ = false;
  int end_result_ = 0;
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_QT_WINDOW_H
