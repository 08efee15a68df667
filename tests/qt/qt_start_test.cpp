// SPDX-License-Identifier: MIT
// When the program tells the bus library up front that there is no session bus, where it keeps
// its runtime files without a session, and which of Qt's messages it keeps to itself.
#include "app/qt/qt_start.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

namespace qup::app {
namespace {

struct BusRow {
  const char* name;
  const char* address;   // DBUS_SESSION_BUS_ADDRESS before, or null for unset
  bool runtime_bus;      // $XDG_RUNTIME_DIR/bus exists
  const char* launcher;  // a dbus-launch in a $PATH directory: "executable", "plain" or null
  const char* expected;  // the address after, or null for still unset
};

constexpr BusRow kBusRows[] = {
    {"an_address_stands", "unix:path=/run/user/1000/bus", false, nullptr,
     "unix:path=/run/user/1000/bus"},
    {"the_runtime_bus_is_found_by_the_library", nullptr, true, nullptr, nullptr},
    {"dbus_launch_can_start_one", nullptr, false, "executable", nullptr},
    {"a_dbus_launch_that_cannot_run_is_none", nullptr, false, "plain", kNoSessionBus},
    {"nothing_to_reach_or_start", nullptr, false, nullptr, kNoSessionBus},
};

std::optional<std::string> Get(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

// Sets the variable, or unsets it for null.
void Put(const char* name, const char* value) {
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

// Each test changes the environment the program reads; it is put back as it was afterwards.
template <typename Row>
class EnvironmentTest : public testing::TestWithParam<Row> {
 protected:
  ~EnvironmentTest() override {
    for (const auto& [name, value] : saved_) Put(name, value ? value->c_str() : nullptr);
  }

 private:
  const std::pair<const char*, std::optional<std::string>> saved_[6] = {
      {"DBUS_SESSION_BUS_ADDRESS", Get("DBUS_SESSION_BUS_ADDRESS")},
      {"XDG_RUNTIME_DIR", Get("XDG_RUNTIME_DIR")},
      {"PATH", Get("PATH")},
      {"QT_QPA_PLATFORM", Get("QT_QPA_PLATFORM")},
      {"DISPLAY", Get("DISPLAY")},
      {"WAYLAND_DISPLAY", Get("WAYLAND_DISPLAY")},
  };
};

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

class BusStartTest : public EnvironmentTest<BusRow> {
 protected:
  void SetUp() override {
    if (QFile::exists(QStringLiteral("/usr/bin/dbus-launch"))) {
      GTEST_SKIP() << "dbus-launch is installed, so a bus can always be started here";
    }
  }
};

TEST_P(BusStartTest, TellsTheLibraryOnlyWhenNoBusCanBeReachedOrStarted) {
  const BusRow& row = GetParam();
  QTemporaryDir runtime_dir;
  QTemporaryDir bin_dir;
  ASSERT_TRUE(runtime_dir.isValid() && bin_dir.isValid());
  if (row.runtime_bus) {
    QFile bus(runtime_dir.filePath(QStringLiteral("bus")));
    ASSERT_TRUE(bus.open(QIODevice::WriteOnly));
  }
  if (row.launcher) {
    QFile launcher(bin_dir.filePath(QStringLiteral("dbus-launch")));
    ASSERT_TRUE(launcher.open(QIODevice::WriteOnly));
    launcher.write("#!/bin/sh\n");
    launcher.close();
    if (std::string(row.launcher) == "executable") {
      launcher.setPermissions(launcher.permissions() | QFile::ExeOwner);
    }
  }
  Put("DBUS_SESSION_BUS_ADDRESS", row.address);
  Put("XDG_RUNTIME_DIR", runtime_dir.path().toStdString().c_str());
  Put("PATH", ("/nonexistent:" + bin_dir.path().toStdString()).c_str());

  SkipHopelessBusStart();

  EXPECT_EQ(Get("DBUS_SESSION_BUS_ADDRESS"),
            row.expected ? std::optional<std::string>(row.expected) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Rows, BusStartTest, testing::ValuesIn(kBusRows), RowName<BusRow>);

// What is at BASE/qup-runtime-UID before the program starts without $XDG_RUNTIME_DIR.
enum class Found { kNothing, kPrivateDir, kOpenDir, kLinkToPrivateDir, kFile };

struct RuntimeRow {
  const char* name;
  Found found;
  bool reused;          // the program takes BASE/qup-runtime-UID, rather than a fresh folder
  bool in_use = false;  // a file is left in the folder when the program ends
};

constexpr RuntimeRow kRuntimeRows[] = {
    {"made_when_missing", Found::kNothing, true},
    {"reused_while_private", Found::kPrivateDir, true},
    {"not_a_folder_others_may_enter", Found::kOpenDir, false},
    {"not_a_link", Found::kLinkToPrivateDir, false},
    {"not_a_file", Found::kFile, false},
    {"kept_with_files_in_it", Found::kNothing, true, true},
};

void PrintTo(const RuntimeRow& row, std::ostream* out) { *out << row.name; }

class RuntimeDirTest : public EnvironmentTest<RuntimeRow> {};

TEST_P(RuntimeDirTest, GivesAFolderOnlyThisUserMayEnter) {
  const RuntimeRow& row = GetParam();
  QTemporaryDir base;
  ASSERT_TRUE(base.isValid());
  const std::string own = base.path().toStdString() + "/qup-runtime-" + std::to_string(geteuid());
  const std::string elsewhere = base.path().toStdString() + "/elsewhere";
  switch (row.found) {
    case Found::kNothing:
      break;
    case Found::kPrivateDir:
      ASSERT_EQ(mkdir(own.c_str(), 0700), 0);
      break;
    case Found::kOpenDir:
      ASSERT_EQ(mkdir(own.c_str(), 0700), 0);
      ASSERT_EQ(chmod(own.c_str(), 0777), 0);
      break;
    case Found::kLinkToPrivateDir:
      ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
      ASSERT_EQ(symlink(elsewhere.c_str(), own.c_str()), 0);
      break;
    case Found::kFile:
      ASSERT_TRUE(QFile(QString::fromStdString(own)).open(QIODevice::WriteOnly));
      break;
  }
  unsetenv("XDG_RUNTIME_DIR");

  const std::string dir = ProvidePrivateRuntimeDir(base.path().toStdString());

  EXPECT_EQ(Get("XDG_RUNTIME_DIR"), std::optional<std::string>(dir));
  EXPECT_EQ(dir == own, row.reused) << dir;
  struct stat info {};
  ASSERT_EQ(lstat(dir.c_str(), &info), 0) << dir;
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_uid, geteuid());
  EXPECT_EQ(info.st_mode & 0777, 0700U);

  // When the program ends the folder goes unless something still uses it, and whatever was
  // found before it stays.
  ASSERT_TRUE(!row.in_use || QFile(QString::fromStdString(dir + "/socket")).open(QFile::WriteOnly));
  const bool found_own = row.found != Found::kNothing;
  RemovePrivateRuntimeDir(dir);
  EXPECT_EQ(lstat(dir.c_str(), &info) == 0, row.in_use) << dir;
  EXPECT_EQ(lstat(own.c_str(), &info) == 0, (found_own && !row.reused) || row.in_use) << own;
}

INSTANTIATE_TEST_SUITE_P(Rows, RuntimeDirTest, testing::ValuesIn(kRuntimeRows),
                         RowName<RuntimeRow>);

TEST_F(RuntimeDirTest, ASessionFolderStands) {
  QTemporaryDir base;
  ASSERT_TRUE(base.isValid());
  Put("XDG_RUNTIME_DIR", "/run/user/1000");
  EXPECT_EQ(ProvidePrivateRuntimeDir(base.path().toStdString()), "");
  EXPECT_EQ(Get("XDG_RUNTIME_DIR"), std::optional<std::string>("/run/user/1000"));
  EXPECT_TRUE(QDir(base.path()).isEmpty());
}

struct DisplayRow {
  const char* name;
  const char* platform;         // QT_QPA_PLATFORM, or null for unset
  const char* display;          // DISPLAY, or null for unset
  const char* wayland_display;  // WAYLAND_DISPLAY, or null for unset
  const char* argument;         // one command-line argument, or null for none
  const char* line;             // what the line begins with, or null for none
};

// ":4711" names an X server that is not there: a display that cannot be opened.
constexpr DisplayRow kDisplayRows[] = {
    {"no_display_at_all", nullptr, nullptr, nullptr, nullptr,
     "qup: no display to show the window on (DISPLAY is not set); on a machine without a "
     "desktop use qup-drive, or a virtual X server: xvfb-run qup"},
    {"an_empty_display", "", "", "", nullptr, "qup: no display to show the window on"},
    {"x_named_with_options", "xcb:nomitshm", nullptr, nullptr, nullptr,
     "qup: no display to show the window on"},
    {"a_display_that_cannot_be_opened", nullptr, ":4711", nullptr, nullptr,
     "qup: cannot open the display \":4711\" to show the window on; on a machine without a "
     "desktop use qup-drive"},
    {"another_platform_named", "offscreen", nullptr, nullptr, nullptr, nullptr},
    {"a_platform_option", nullptr, nullptr, nullptr, "-platform", nullptr},
    {"a_platform_option_with_two_dashes", nullptr, nullptr, nullptr, "--platform=offscreen",
     nullptr},
    {"a_display_option", nullptr, nullptr, nullptr, "-display", nullptr},
    {"a_wayland_session", nullptr, nullptr, "wayland-0", nullptr, nullptr},
    {"x_named_in_a_wayland_session", "xcb", nullptr, "wayland-0", nullptr,
     "qup: no display to show the window on"},
};

void PrintTo(const DisplayRow& row, std::ostream* out) { *out << row.name; }

class MissingDisplayTest : public EnvironmentTest<DisplayRow> {};

TEST_P(MissingDisplayTest, SaysWhatIsMissingWhenTheWindowCannotOpen) {
  const DisplayRow& row = GetParam();
  Put("QT_QPA_PLATFORM", row.platform);
  Put("DISPLAY", row.display);
  Put("WAYLAND_DISPLAY", row.wayland_display);
  const char* argv[] = {"qup", row.argument};
  const int argc = row.argument ? 2 : 1;

  const std::string line = MissingDisplay(argc, argv);

  if (row.line == nullptr) {
    EXPECT_EQ(line, "");
  } else {
    EXPECT_TRUE(line.starts_with(row.line)) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, MissingDisplayTest, testing::ValuesIn(kDisplayRows),
                         RowName<DisplayRow>);

struct NoticeRow {
  const char* name;
  QtMsgType type;
  const char* message;
  bool dropped;
};

const NoticeRow kNoticeRows[] = {
    {"size_hints", QtWarningMsg, "This plugin does not support propagateSizeHints()", true},
    {"raise", QtWarningMsg, "This plugin does not support raise()", true},
    {"keyboard_grab", QtWarningMsg, "This plugin does not support grabbing the keyboard", true},
    {"another_missing_operation", QtWarningMsg, "This plugin does not support setParent!", false},
    {"a_real_warning", QtWarningMsg, "QFont::setPointSizeF: Point size <= 0 (0.000000)", false},
    {"longer_text", QtWarningMsg, "This plugin does not support raise() for this window", false},
    {"a_critical_message", QtCriticalMsg, "This plugin does not support raise()", false},
};

void PrintTo(const NoticeRow& row, std::ostream* out) { *out << row.name; }

class NoticeTest : public testing::TestWithParam<NoticeRow> {};

TEST_P(NoticeTest, DropsExactlyThePluginsNotices) {
  const NoticeRow& row = GetParam();
  EXPECT_EQ(IsPluginNotice(row.type, QString::fromLatin1(row.message)), row.dropped);
}

INSTANTIATE_TEST_SUITE_P(Rows, NoticeTest, testing::ValuesIn(kNoticeRows), RowName<NoticeRow>);

}  // namespace
}  // namespace qup::app
