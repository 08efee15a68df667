// SPDX-License-Identifier: MIT
// When the program tells the bus library up front that there is no session bus.
#include "app/qt_start.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <string>

namespace qup::app {
namespace {

struct BusRow {
  const char* name;
  const char* address;       // DBUS_SESSION_BUS_ADDRESS before, or null for unset
  bool runtime_bus;          // $XDG_RUNTIME_DIR/bus exists
  const char* launcher;      // a dbus-launch in a $PATH directory: "executable", "plain" or null
  const char* expected;      // the address after, or null for still unset
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

void Put(const char* name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name, value->c_str(), 1);
  } else {
    unsetenv(name);
  }
}

class BusStartTest : public testing::TestWithParam<BusRow> {
 protected:
  void SetUp() override {
    if (QFile::exists(QStringLiteral("/usr/bin/dbus-launch"))) {
      GTEST_SKIP() << "dbus-launch is installed, so a bus can always be started here";
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) Put(name, value);
  }

  const std::pair<const char*, std::optional<std::string>> saved_[3] = {
      {"DBUS_SESSION_BUS_ADDRESS", Get("DBUS_SESSION_BUS_ADDRESS")},
      {"XDG_RUNTIME_DIR", Get("XDG_RUNTIME_DIR")},
      {"PATH", Get("PATH")},
  };
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
  Put("DBUS_SESSION_BUS_ADDRESS",
      row.address ? std::optional<std::string>(row.address) : std::nullopt);
  Put("XDG_RUNTIME_DIR", runtime_dir.path().toStdString());
  Put("PATH", "/nonexistent:" + bin_dir.path().toStdString());

  SkipHopelessBusStart();

  EXPECT_EQ(Get("DBUS_SESSION_BUS_ADDRESS"),
            row.expected ? std::optional<std::string>(row.expected) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Rows, BusStartTest, testing::ValuesIn(kBusRows),
                         [](const testing::TestParamInfo<BusRow>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace qup::app
