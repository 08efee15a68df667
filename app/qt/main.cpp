// SPDX-License-Identifier: MIT
// The program's entry point: the real window, the settings file and the network.
#include <QApplication>
#include <cstdio>
#include <string>

#include "app/qt/qt_start.h"
#include "app/utility_app.h"
#include "settings/qt/file_registry.h"
#include "suggest/qt/posix_network.h"
#include "ui/platform/qt/qt_platform.h"

int main(int argc, char* argv[]) {
  qup::app::QtStart start;
  if (const std::string missing = qup::app::MissingDisplay(argc, argv); !missing.empty()) {
    std::fprintf(stderr, "%s\n", missing.c_str());
    return 1;
  }
  QApplication application(argc, argv);
  start.ApplicationCreated();
  // Ties the window to its menu entry, for desktops that match the two by name.
  QGuiApplication::setDesktopFileName(QStringLiteral("example.kestrane.Qup"));
  qup::ui::QtPlatform platform;
  qup::settings::FileRegistry registry;
  qup::suggest::PosixNetwork network;
  qup::app::UtilityApp().InitInstance(platform, registry, network);
  // InitInstance runs the window's own modal loop and always reports that there is no other.
  return 0;
}
