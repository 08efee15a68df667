// SPDX-License-Identifier: MIT
// How the program has Qt start: what it loads before the first window, and what it has a
// second thread do while the main thread loads Qt's platform plugin and connects to X.
#ifndef QUP_APP_QT_QT_START_H
#define QUP_APP_QT_QT_START_H

#include <QString>
#include <QtGlobal>
#include <string>
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

// Qt keeps the session's sockets and locks in $XDG_RUNTIME_DIR, which a desktop session
// provides. A root shell or a remote login often has none; Qt then warns on every start and
// makes a folder of its own. Where the variable is unset this names a folder private to the
// user instead: BASE/qup-runtime-UID, reused only while it is a directory of this user's that
// nobody else may enter, otherwise a fresh one beside it. Returns the folder it set, or "" when
// the session has one (or none can be made: Qt's own fallback and warning then stand).
std::string ProvidePrivateRuntimeDir(const std::string& base = "/tmp");

// Removes the folder ProvidePrivateRuntimeDir set once the program is done with it, so that a
// run leaves nothing behind; only while it is empty, since a program started from this one (the
// browser) inherits the folder and may still keep its files there.
void RemovePrivateRuntimeDir(const std::string& dir);

// Without a display Qt's window system plugin fails and Qt aborts the program, advising to
// reinstall it. When the window would open on X (no other platform named by QT_QPA_PLATFORM or
// -platform, no Wayland session) and the X display cannot be opened, this is the one line that
// says so and how to run without a desktop; "" when the window can open or Qt decides.
std::string MissingDisplay(int argc, const char* const* argv);

// Qt's platform plugins report window operations they lack (the offscreen plugin, which the
// driver and the tests use, cannot raise a window or grab the keyboard); these notices say
// nothing the user could act on. True for exactly those; InstallNoticeFilter drops them and
// hands every other message to the handler that was there before.
bool IsPluginNotice(QtMsgType type, const QString& message);
void InstallNoticeFilter();

// Construct before the QApplication, call ApplicationCreated() right after it, and keep the
// object until the program ends.
class QtStart {
 public:
  QtStart();
  ~QtStart();
  QtStart(const QtStart&) = delete;
  QtStart& operator=(const QtStart&) = delete;

  void ApplicationCreated();
  // The folder ProvidePrivateRuntimeDir set, removed at the end; "" for none.
  const std::string& runtime_dir() const { return runtime_dir_; }

 private:
  std::thread fonts_;
  std::string runtime_dir_;
};

}  // namespace qup::app

#endif  // QUP_APP_QT_QT_START_H
