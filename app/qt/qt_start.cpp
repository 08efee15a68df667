// SPDX-License-Identifier: MIT
// How the program has Qt start: what it loads before the first window, and what a second
// thread does meanwhile.
#include "app/qt/qt_start.h"

#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace qup::app {

namespace {

bool IsExecutable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

// A directory itself (not a link to one), of this user's, that nobody else may enter.
bool IsPrivateDir(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
         (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

constexpr const char* kPluginNotices[] = {
    "This plugin does not support propagateSizeHints()",
    "This plugin does not support raise()",
    "This plugin does not support grabbing the keyboard",
};

QtMessageHandler previous_handler = nullptr;

void FilterNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (IsPluginNotice(type, message)) return;
  if (previous_handler) previous_handler(type, context, message);
}

}  // namespace

std::string ProvidePrivateRuntimeDir(const std::string& base) {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return {};
  std::string dir = base + "/qup-runtime-" + std::to_string(geteuid());
  if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) dir.clear();
  if (dir.empty() || !IsPrivateDir(dir)) {
    // Someone else's, or open to others: a folder of this run's own.
    std::string pattern = base + "/qup-runtime-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) return {};
    dir = name.data();
  }
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  return dir;
}

void RemovePrivateRuntimeDir(const std::string& dir) {
  if (!dir.empty()) rmdir(dir.c_str());
}

std::string MissingDisplay(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    // Qt takes its options with one dash or two.
    std::string_view arg = argv[i];
    if (arg.starts_with("--")) arg.remove_prefix(1);
    if (arg == "-platform" || arg.starts_with("-platform=") || arg == "-display") return {};
  }
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && !platform.startsWith("xcb")) return {};
  if (platform.isEmpty() && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return {};

  constexpr std::string_view kWithoutDesktop =
      "; on a machine without a desktop use qup-drive, or a virtual X server: xvfb-run qup";
  const QByteArray display = qgetenv("DISPLAY");
  if (display.isEmpty()) {
    return "qup: no display to show the window on (DISPLAY is not set)" +
           std::string(kWithoutDesktop);
  }
  xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
  const bool opened = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  if (opened) return {};
  return "qup: cannot open the display \"" + display.toStdString() + "\" to show the window on" +
         std::string(kWithoutDesktop);
}

bool IsPluginNotice(QtMsgType type, const QString& message) {
  return type == QtWarningMsg && std::ranges::any_of(kPluginNotices, [&](const char* notice) {
           return message == QLatin1String(notice);
         });
}

void InstallNoticeFilter() {
  // Installed once; a second call would make the filter its own previous handler.
  if (!previous_handler) previous_handler = qInstallMessageHandler(FilterNotices);
}

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
  runtime_dir_ = ProvidePrivateRuntimeDir();
  InstallNoticeFilter();
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
  RemovePrivateRuntimeDir(runtime_dir_);
}

void QtStart::ApplicationCreated() {
  // Qt's fonts start from the configuration read above; waiting here keeps the main thread
  // from reading it a second time alongside.
  if (fonts_.joinable()) fonts_.join();
}

}  // namespace qup::app
