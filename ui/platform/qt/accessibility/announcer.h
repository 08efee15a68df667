// SPDX-License-Identifier: MIT
// Tells screen readers of changes away from the keyboard focus: a notification they speak.
#ifndef QUP_UI_PLATFORM_QT_ACCESSIBILITY_ANNOUNCER_H
#define QUP_UI_PLATFORM_QT_ACCESSIBILITY_ANNOUNCER_H

#include <QString>
#include <QStringList>
#include <QWidget>

namespace qup::ui {

// A hidden child of a window, known to screen readers as a notification whose name is what it
// last told. Screen readers speak a notification when it shows, wherever the focus is; they
// do not speak a text that changes beside the focus. Everything told while one command runs
// is told once, together, when the command is done.
class Announcer : public QWidget {
  Q_OBJECT

 public:
  explicit Announcer(QWidget* window);

  // Adds words to what is told when control returns to the event loop. Nothing is told while
  // no screen reader listens or the window is not on the screen.
  void Tell(const QString& words);
  const QString& Told() const { return told_; }

  // The announcer of widget's window, or null when it has none.
  static Announcer* Of(const QWidget* widget);

 private:
  void Flush();

  QStringList pending_;
  QString told_;
};

// Installs, once per process, the factory of the announcer's interface. Call before the first
// announcer is made.
void InstallAnnouncerAccessible();

}  // namespace qup::ui

#endif  // QUP_UI_PLATFORM_QT_ACCESSIBILITY_ANNOUNCER_H
