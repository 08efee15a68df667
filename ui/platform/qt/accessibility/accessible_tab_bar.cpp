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
  QAccessibleInterface* focusChild() const override {
    return Bar()->hasFocus() ? child(Bar()->currentIndex()) : nullptr;
  }

 private:
  mutable std::map<int, QAccessible::Id> tabs_;
};

}  // namespace

QAccessibleInterface* NewTabBarAccessible(QTabBar* bar) { return new TabBarAccessible(bar); }

}  // namespace qup::ui
