// SPDX-License-Identifier: MIT
// qup-drive: runs the program's real window and plays a script from standard input on it.
#include <QApplication>
#include <QMetaObject>
#include <cstdlib>
#include <iostream>
#include <semaphore>
#include <string>
#include <string_view>
#include <thread>

#include "app/drive/qt/qt_driver.h"
#include "app/drive/session.h"
#include "app/qt/qt_start.h"

int main(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << qup::drive::Driver::Help();
      return 0;
    }
  }
  // Offscreen unless the caller asks for a real display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt starts as it does for the program, so that the window looks the same.
  qup::app::QtStart start;
  QApplication application(argc, argv);
  start.ApplicationCreated();
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
  QApplication::setEffectEnabled(Qt::UI_AnimateMenu, false);

  // The reader hands one command at a time to the GUI thread and waits until it has settled,
  // so that a command that opens a modal dialog does not hold up the next.
  std::binary_semaphore settled(0);
  qup::drive::Driver driver([&settled] { settled.release(); });

  std::thread reader([&] {
    qup::drive::ReadScript(std::cin, [&](int line_number, const std::string& line) {
      QMetaObject::invokeMethod(
          &driver, [&driver, line_number, line] { driver.Run(line_number, line); },
          Qt::QueuedConnection);
      settled.acquire();
    });
    QMetaObject::invokeMethod(
        &driver,
        [&driver, &start] {
          if (driver.WindowOpen()) {
            // The script ended with the window open: stop as if the process were killed, but
            // leave no runtime folder behind.
            std::cout.flush();
            qup::app::RemovePrivateRuntimeDir(start.runtime_dir());
            std::_Exit(driver.ExitStatus());
          }
          QApplication::exit(driver.ExitStatus());
        },
        Qt::QueuedConnection);
  });
  const int status = QApplication::exec();
  reader.join();
  return status;
}
