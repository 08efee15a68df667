// SPDX-License-Identifier: MIT
// How the program has Qt start: what it loads before the first window, and what it has a
// second thread do while the main thread loads Qt's platform plugin and connects to X.
#ifndef QUP_APP_QT_START_H
#define QUP_APP_QT_START_H

#include <thread>

namespace qup::app {

// Construct before the QApplication, call ApplicationCreated() right after it, and keep the
// object until the program ends.
class QtStart {
 public:
  QtStart();
  ~QtStart();
  QtStart(const QtStart&) = delete;
  QtStart& operator=(const QtStart&) = delete;

  void ApplicationCreated();

 private:
  std::thread fonts_;
  std::thread session_bus_;
};

}  // namespace qup::app

#endif  // QUP_APP_QT_START_H
