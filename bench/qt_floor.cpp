// SPDX-License-Identifier: MIT
// The floor under the program's start-up: a Qt window started as the program starts Qt, holding
// either nothing or one line of text. Whatever the program takes beyond these is its own.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "app/qt/qt_start.h"

int main(int argc, char* argv[]) {
  qup::app::QtStart start;
  QApplication application(argc, argv);
  start.ApplicationCreated();
  QWidget window;
  window.setWindowTitle(QStringLiteral("Qt floor"));
  window.resize(680, 364);  // the program's window at the dialog font's base units
#ifdef QUP_FLOOR_WITH_TEXT
  auto* text = new QLabel(QStringLiteral("(Please click our logo to go to the site)"), &window);
  text->move(12, 12);
#endif
  window.show();
  return QApplication::exec();
}
