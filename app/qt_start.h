// SPDX-License-Identifier: MIT
// How the program has Qt start: what it loads before the first window, decided once, before
// the application object exists.
#ifndef QUP_APP_QT_START_H
#define QUP_APP_QT_START_H

namespace qup::app {

// Call before constructing the QApplication.
void PrepareQtStart();

}  // namespace qup::app

#endif  // QUP_APP_QT_START_H
