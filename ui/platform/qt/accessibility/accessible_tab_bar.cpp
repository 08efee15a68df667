// SPDX-License-Identifier: MIT
// The tab bar to screen readers: a page tab list whose selected tab says so.
#include "ui/platform/qt/accessibility/accessible_tab_bar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTabBar>
#include <map>

namespace qup::ui {

namespace {

// One tab. It has no widget of its own, so Qt knows it only once it is registered.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TabAccessible(QTabBar* bar, int index) : bar_(bar), index_(index) {}

  bool isValid() const override { return bar_ && index_ < bar_->count(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return bar_ ? bar_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(bar_);
  }
  QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
  QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

  QString text(QAccessible::Text kind) const override {
    if (!isValid() || kind != QAccessible::Name) return {};
    return bar_->tabText(index_).remove(QLatin1Char('&'));
  }
  void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect tab = bar_->tabRect(index_);
    return {bar_->mapToGlobal(tab.topLeft()), tab.size()};
  }
  QAccessible::Role role() const override { return QAccessible::PageTab; }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    state.selectable = true;
    state.selected = index_ == bar_->currentIndex();
    state.focusable = true;
    state.focused = state.selected && bar_->hasFocus();
    state.invisible = !bar_->isVisible();
    state.disabled = !bar_->isEnabled() || !bar_->isTabEnabled(index_);
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  // Selecting by the action is the user's choice, as a click is: the program hears of it.
  void doAction(const QString& actionName) override {
    if (actionName == pressAction() && isValid() && bar_->isEnabled() && bar_->isVisible()) {
      bar_->setCurrentIndex(index_);
    }
  }
  QStringList keyBindingsForAction(const QString& /*actionName*/) const override { return {}; }

 private:
  QPointer<QTabBar> bar_;
  int index_;
};

class TabBarAccessible : public QAccessibleWidget {
 public:
  explicit TabBarAccessible(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
  ~TabBarAccessible() override {
    for (const auto& [index, id] : tabs_) QAccessible::deleteAccessibleInterface(id);
  }
  TabBarAccessible(const TabBarAccessible&) = delete;
  TabBarAccessible& operator=(const TabBarAccessible&) = delete;

  QTabBar* Bar() const { return static_cast<QTabBar*>(widget()); }

  int childCount() const override { return Bar()->count(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= Bar()->count()) return nullptr;
    const auto found = tabs_.find(index);
    if (found != tabs_.end()) return QAccessible::accessibleInterface(found->second);
    auto* tab = new TabAccessible(Bar(), index);
    tabs_.emplace(index, QAccessible::registerAccessibleInterface(tab));
    return tab;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (const auto& [index, id] : tabs_) {
      if (QAccessible::accessibleInterface(id) == child) return index;
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const int index = Bar()->tabAt(Bar()->mapFromGlobal(QPoint(x, y)));
    return index >= 0 ? child(index) : nullptr;
  }
  // The focus on the bar is the focus on its selected tab, which names the page: a screen
  // reader that looks for the focused object finds the tab, not the list.
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    if (Bar()->currentIndex() >= 0) state.focused = false;
    return state;
  }
  QAccessibleInterface* focusChild() const override {
    return Bar()->hasFocus() ? child(Bar()->currentIndex()) : nullptr;
  }

 private:
  mutable std::map<int, QAccessible::Id> tabs_;
};

QAccessible::UpdateHandler next_handler = nullptr;

void TellFocusOnTab(QAccessibleEvent* event);

void Forward(QAccessibleEvent* event) {
  if (next_handler) {
    next_handler(event);
    return;
  }
  // No handler before this one: Qt's own delivery, to the platform's bridge.
  QAccessible::installUpdateHandler(nullptr);
  QAccessible::updateAccessibility(event);
  QAccessible::installUpdateHandler(&TellFocusOnTab);
}

// Qt tells of the focus on the bar itself when its window becomes active again (at start, after
// a message box): told of the selected tab instead, a screen reader names the page.
void TellFocusOnTab(QAccessibleEvent* event) {
  auto* bar = qobject_cast<QTabBar*>(event->object());
  if (event->type() == QAccessible::Focus && event->child() < 0 && bar &&
      bar->currentIndex() >= 0) {
    QAccessibleEvent on_tab(bar, QAccessible::Focus);
    on_tab.setChild(bar->currentIndex());
    Forward(&on_tab);
    return;
  }
  Forward(event);
}

}  // namespace

QAccessibleInterface* NewTabBarAccessible(QTabBar* bar) { return new TabBarAccessible(bar); }

void InstallTabFocusOnSelectedTab() {
  static const bool installed = [] {
    next_handler = QAccessible::installUpdateHandler(&TellFocusOnTab);
    return true;
  }();
  (void)installed;
}

}  // namespace qup::ui
