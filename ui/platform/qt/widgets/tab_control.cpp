// SPDX-License-Identifier: MIT
// A tab control with its tabs along the bottom edge, made of a bare tab bar over a page frame.
#include "ui/platform/qt/widgets/tab_control.h"

#include <QAccessible>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <utility>

#include "ui/platform/qt/accessibility/accessible_controls.h"

namespace qup::ui {

namespace {

// The border of the page area, drawn as the style draws a tab widget's pane.
class PageFrame : public QWidget {
 public:
  PageFrame(QWidget* parent, QTabBar* bar) : QWidget(parent), bar_(bar) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedSouth;
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    option.tabBarSize = bar_->sizeHint();
    option.tabBarRect = QRect(bar_->pos() - pos(), bar_->size());
    option.selectedTabRect =
        bar_->tabRect(bar_->currentIndex()).translated(option.tabBarRect.topLeft());
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
  }

 private:
  QTabBar* bar_;
};

}  // namespace

TabControl::TabControl(QWidget* dialog, QRect pixels, std::function<void()> on_user_change)
    : pixels_(pixels), bar_(new QTabBar(dialog)) {
  frame_ = new PageFrame(dialog, bar_);
  bar_->setShape(QTabBar::RoundedSouth);
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
  bar_->setUsesScrollButtons(false);
  // The keyboard never visits the tab control; tabs change by mouse or Ctrl+Tab.
  bar_->setFocusPolicy(Qt::NoFocus);
  QObject::connect(bar_, &QTabBar::currentChanged,
                   [this, notify = std::move(on_user_change)](int /*index*/) {
                     frame_->update();
                     if (!changing_) notify();
                   });
  Layout();
  frame_->lower();
  bar_->lower();
}

void TabControl::Layout() {
  const int bar_height = bar_->sizeHint().height();
  const int overlap = bar_->style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, bar_);
  frame_->setGeometry(pixels_.x(), pixels_.y(), pixels_.width(),
                      pixels_.height() - bar_height + overlap);
  const int inset = bar_->style()->pixelMetric(QStyle::PM_TabBarBaseHeight, nullptr, bar_);
  bar_->setGeometry(pixels_.x() + inset, pixels_.bottom() + 1 - bar_height,
                    pixels_.width() - 2 * inset, bar_height);
}

void TabControl::InsertItem(int index, const QString& caption) {
  changing_ = true;
  bar_->insertTab(index, caption);
  changing_ = false;
  Layout();
}

void TabControl::SetCurrentIndex(int index) {
  changing_ = true;
  bar_->setCurrentIndex(index);
  changing_ = false;
}

void TabControl::StepByUser(int step) {
  const int count = bar_->count();
  if (count == 0 || !bar_->isVisible() || !bar_->isEnabled()) return;
  bar_->setCurrentIndex(((bar_->currentIndex() + step) % count + count) % count);
}

void TabControl::TakeFocus() {
  {
    const AccessibilityMuted muted;
    bar_->setFocus(Qt::OtherFocusReason);
  }
  if (QAccessible::isActive() && bar_->currentIndex() >= 0) {
    QAccessibleEvent focus(bar_, QAccessible::Focus);
    focus.setChild(bar_->currentIndex());
    QAccessible::updateAccessibility(&focus);
  }
}

void TabControl::SetVisible(bool visible) {
  frame_->setVisible(visible);
  bar_->setVisible(visible);
}

void TabControl::SetEnabled(bool enabled) {
  frame_->setEnabled(enabled);
  bar_->setEnabled(enabled);
}

}  // namespace qup::ui
