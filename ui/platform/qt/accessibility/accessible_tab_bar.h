// SPDX-License-Identifier: MIT
// The tab bar to screen readers: a page tab list whose selected tab says so.
#ifndef QUP_UI_PLATFORM_QT_ACCESSIBILITY_ACCESSIBLE_TAB_BAR_H
#define QUP_UI_PLATFORM_QT_ACCESSIBILITY_ACCESSIBLE_TAB_BAR_H

class QAccessibleInterface;
class QTabBar;

namespace qup::ui {

// An interface for bar whose tabs are page tabs that can be selected, the current one selected,
// each pressed by its action as by a click.
QAccessibleInterface* NewTabBarAccessible(QTabBar* bar);

// Installs, once per process, the rule that a focus on a tab bar is told as the focus on its
// selected tab.
void InstallTabFocusOnSelectedTab();

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_ACCESSIBILITY_ACCESSIBLE_TAB_BAR_H
