// SPDX-License-Identifier: MIT
// A tab control with its tabs along the bottom edge, made of a bare tab bar over a page frame.
#ifndef QUP_UI_PLATFORM_QT_WIDGETS_TAB_CONTROL_H
#define QUP_UI_PLATFORM_QT_WIDGETS_TAB_CONTROL_H

#include <QRect>
#include <QString>
#include <QTabBar>
#include <functional>

namespace qup::ui {

// The pages' controls are siblings of the tab control, not children: the dialog logic shows and
// hides them itself. So the frame and the bar are two widgets kept below every other control
// (Qt draws later siblings on top), and the frame lets mouse presses through to the dialog.
class TabControl {
 public:
  // on_user_change runs when the user selects another tab, never for a change by the program.
  TabControl(QWidget* dialog, QRect pixels, std::function<void()> on_user_change);

  void InsertItem(int index, const QString& caption);
  int CurrentIndex() const { return bar_->currentIndex(); }
  void SetCurrentIndex(int index);
  // The user moves step tabs on, wrapping round at either end, as a click on that tab would.
  void StepByUser(int step);

  // Gives the bar the keyboard focus; a screen reader hears of its selected tab, the page's
  // name, rather than of a nameless tab list.
  void TakeFocus();

  void SetVisible(bool visible);
  bool IsVisible() const { return !bar_->isHidden(); }
  void SetEnabled(bool enabled);
  bool IsEnabled() const { return bar_->isEnabled(); }

  QTabBar* Bar() const { return bar_; }
  QWidget* Frame() const { return frame_; }

 private:
  void Layout();

  QRect pixels_;
  QWidget* frame_ = nullptr;
  QTabBar* bar_;
  bool changing_ = false;  // a change made by the program is under way
};

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_WIDGETS_TAB_CONTROL_H
