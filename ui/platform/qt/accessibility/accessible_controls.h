// SPDX-License-Identifier: MIT
// What screen readers get from the window's controls where Qt's own accessible interfaces fall
// short: readable static texts and tables, combo boxes and radio buttons known by their labels.
#ifndef QUP_UI_PLATFORM_QT_ACCESSIBILITY_ACCESSIBLE_CONTROLS_H
#define QUP_UI_PLATFORM_QT_ACCESSIBILITY_ACCESSIBLE_CONTROLS_H

#include <QAccessible>

class QWidget;

namespace qup::ui {

struct DialogTemplate;

// Widget properties the window sets and the interfaces read: the id of the control's label
// (an int; the label is a sibling widget whose object name is its id) and how the label is
// used (a LabelUse, as an int).
inline constexpr char kLabelProperty[] = "qupLabel";
inline constexpr char kLabelUseProperty[] = "qupLabelUse";
// The label's caption, for a table's column heads even before the label is made.
inline constexpr char kLabelCaptionProperty[] = "qupLabelCaption";

// Installs, once per process, the factory that gives static texts, combo boxes, radio buttons
// and the tab bar their interfaces. Call before the first widget is made.
void InstallAccessibleControls();

// Gives widget, control id of dialog, the name its row of the dialog's accessible names gives
// it, and ties it to its label both ways, whichever of the two is made first.
void NameForScreenReaders(QWidget* widget, const DialogTemplate& dialog, int id);

// While one lives, nothing reaches screen readers. A control being made tells them nothing:
// its name, texts and states are simply there once it shows.
class AccessibilityMuted {
 public:
  AccessibilityMuted() : previous_(QAccessible::installUpdateHandler(&Drop)) {}
  ~AccessibilityMuted() { QAccessible::installUpdateHandler(previous_); }
  AccessibilityMuted(const AccessibilityMuted&) = delete;
  AccessibilityMuted& operator=(const AccessibilityMuted&) = delete;

 private:
  static void Drop(QAccessibleEvent* /*event*/) {}
  QAccessible::UpdateHandler previous_;
};

// The sibling that labels control, or null when it has none or the label is not made yet.
QWidget* LabelOf(const QWidget* control);

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_ACCESSIBILITY_ACCESSIBLE_CONTROLS_H
