// SPDX-License-Identifier: MIT
// How the program has Qt start: what it loads before the first window, and what a second
// thread does meanwhile.
#include "app/qt_start.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <QGuiApplication>
#include <string>

namespace qup::app {

namespace {

bool IsExecutable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

}  // namespace

void SkipHopelessBusStart() {
  if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return;
  const QByteArray runtime_dir = qgetenv("XDG_RUNTIME_DIR");
  if (!runtime_dir.isEmpty() && access((runtime_dir + "/bus").constData(), F_OK) == 0) return;
  if (IsExecutable("/usr/bin/dbus-launch")) return;
  const QByteArray path = qgetenv("PATH");
  for (const QByteArray& dir : path.split(':')) {
    if (!dir.isEmpty() && IsExecutable(dir.toStdString() + "/dbus-launch")) return;
  }
  qputenv("DBUS_SESSION_BUS_ADDRESS", kNoSessionBus);
}

QtStart::QtStart() {
  SkipHopelessBusStart();
  // On GNOME-like desktops Qt would load its GTK 3 theme plugin, and GTK with it, for the
  // desktop's colours and fonts: some 60 ms and 13 MB before the window shows. The window draws
  // its controls in a dialog font of its own, so it does without the desktop's settings, unless
  // the user names a platform theme; then the user's choice stands, at that price.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME")) {
    QGuiApplication::setDesktopSettingsAware(false);
  }
  // Reading the font configuration and the font caches takes some 7 ms, and Qt would do it on
  // the main thread at the first text. Fontconfig sets itself up once per process, whichever
  // thread asks first, so this thread does it while the main thread creates the application.
  fonts_ = std::thread([] { FcInit(); });
}

QtStart::~QtStart() {
  if (fonts_.joinable()) fonts_.join();
}

void QtStart::ApplicationCreated() {
  // Qt's fonts start from the configuration read above; waiting here keeps the main thread
  // from reading it a second time alongside.
  if (fonts_.joinable()) fonts_.join();
}

}  // namespace qup::app
