// SPDX-License-Identifier: MIT
// How the program has Qt start: what it loads before the first window.
#include "app/qt_start.h"

#include <QGuiApplication>

namespace qup::app {

void PrepareQtStart() {
  // On GNOME-like desktops Qt would load its GTK 3 theme plugin, and GTK with it, for the
  // desktop's colours and fonts: some 60 ms and 13 MB before the window shows. The window draws
  // its controls in a dialog font of its own, so it does without the desktop's settings, unless
  // the user names a platform theme; then the user's choice stands, at that price.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME")) {
    QGuiApplication::setDesktopSettingsAware(false);
  }
}

}  // namespace qup::app
