// SPDX-License-Identifier: MIT
// QtPlatform: the user-interface platform on Qt Widgets, with X11 for finding other windows.
#include "ui/platform/qt/qt_platform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

#include "ui/platform/qt/qt_window.h"
#include "ui/platform/qt/x11_windows.h"

namespace qup::ui {

namespace {

QMessageBox::Icon IconFor(int type) {
  switch (type & 0xF0) {
    case kMbIconStop:
      return QMessageBox::Critical;
    case kMbIconExclamation:
      return QMessageBox::Warning;
    case kMbIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// Other programs' windows are found through X11 only, over Qt's own connection: a second
// one would cost its set-up on every start. Elsewhere (offscreen, Wayland) the platform sees
// no windows but its own.
xcb_connection_t* X11Connection() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

}  // namespace

QtPlatform::QtPlatform(std::string display_name) : display_name_(std::move(display_name)) {
  if (display_name_.empty()) {
    display_name_ =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
  }
}

int QtPlatform::RunModal(const DialogTemplate& dialog, DialogHandler& handler, Window* owner) {
  QtWindow window(dialog, handler, *this, dynamic_cast<QtWindow*>(owner));
  running_.push_back(&window);
  struct Finished {
    std::vector<QtWindow*>& running;
    ~Finished() { running.pop_back(); }
  } finished{running_};
  handler.OnInitDialog(window);
  const int result = window.Run();
  // The owner becomes the active window again, with the focus on the control that had it.
  // Without a window manager (and under some minimal ones) nobody else hands it back: the X
  // input focus would stay on the root window and the next keys would go nowhere.
  if (QWidget* owner_widget = dynamic_cast<QtWindow*>(owner);
      owner_widget && owner_widget->isVisible()) {
    owner_widget->activateWindow();
  }
  return result;
}

void QtPlatform::MessageBox(std::string_view text, std::string_view caption, int type) {
  ShowMessageBox(nullptr, text, caption, type);
}

void QtPlatform::ShowMessageBox(QWidget* owner, std::string_view text, std::string_view caption,
                                int type) {
  QMessageBox box(IconFor(type), QString::fromUtf8(caption), QString::fromUtf8(text),
                  QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  // The window behind the box becomes the active one again, with the focus where the logic
  // left it, whether or not a window manager hands the activation back.
  if (owner && owner->isVisible()) owner->window()->activateWindow();
}

void QtPlatform::OpenUrl(std::string_view url) {
  QDesktopServices::openUrl(QUrl(QString::fromUtf8(url)));
}

WindowRef QtPlatform::FindTopLevelWindow(std::string_view title) {
  return X11Windows(X11Connection()).FindByTitle(title);
}

void QtPlatform::SetForegroundWindow(WindowRef window) {
  X11Windows(X11Connection()).Activate(window);
}

void QtPlatform::BeginWaitCursor() {
  if (wait_cursors_++ == 0) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtPlatform::EndWaitCursor() {
  if (wait_cursors_ > 0 && --wait_cursors_ == 0) QGuiApplication::restoreOverrideCursor();
}

}  // namespace qup::ui
