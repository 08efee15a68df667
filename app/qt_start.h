// SPDX-License-Identifier: MIT
// How the program has Qt start: what it loads before the first window, and what it has a
// second thread do while the main thread loads Qt's platform plugin and connects to X.
#ifndef QUP_APP_QT_START_H
#define QUP_APP_QT_START_H

#include <thread>

namespace qup::app {

// The screen reader bridge connects to the session bus as the first control gets its text.
// Where the session has no bus address and no bus at $XDG_RUNTIME_DIR/bus, the bus library
// falls back to starting one with dbus-launch: it forks this process, so that each write the
// main thread makes copies a page until the child has exec'd, and then tries every directory
// in $PATH. Where there is no dbus-launch to find, that can only fail; this tells the library
// at once that there is no bus (kNoSessionBus, an address no bus library accepts). Programs
// started from this one inherit the setting, and would have found no bus either. Call while
// the process has one thread.
inline constexpr char kNoSessionBus[] = "disabled:";
void SkipHopelessBusStart();

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
};

}  // namespace qup::app

#endif  // QUP_APP_QT_START_H
