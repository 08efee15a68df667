// SPDX-License-Identifier: MIT
// How the program has Qt start: what it loads before the first window, and what a second
// thread does meanwhile.
#include "app/qt_start.h"

#include <fontconfig/fontconfig.h>

#include <QDBusConnection>
#include <QGuiApplication>

namespace qup::app {

QtStart::QtStart() {
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
  if (session_bus_.joinable()) session_bus_.join();
}

void QtStart::ApplicationCreated() {
  // Qt's fonts start from the configuration read above; waiting here keeps the main thread
  // from reading it a second time alongside.
  if (fonts_.joinable()) fonts_.join();
  // The screen reader bridge connects to the session bus when the first control gets its
  // text, and the main thread would wait for it there; without a session bus, the bus library
  // even tries to start one. Connecting here lets that overlap the window's fonts. Offscreen
  // there is no bridge, so no bus either.
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("xcb") || platform == QLatin1String("wayland")) {
    session_bus_ = std::thread([] { QDBusConnection::sessionBus(); });
  }
}

}  // namespace qup::app
