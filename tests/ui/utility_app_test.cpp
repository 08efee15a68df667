// SPDX-License-Identifier: MIT
// The program's start: a second start brings the running window to the front. (The real
// program's window and a second copy of it are tests/acceptance/single_instance.sh.)
#include <gtest/gtest.h>

#include "app/utility_app.h"
#include "settings/memory_registry.h"
#include "tests/support/offline_network.h"
#include "ui/platform/memory/memory_platform.h"

namespace qup::app {
namespace {

constexpr std::string_view kTitle = "Quorvane Utility Program (QUP)";

class StartTest : public ::testing::Test {
 protected:
  bool Start() { return UtilityApp().InitInstance(platform_, registry_, network_); }

  ui::MemoryPlatform platform_;
  settings::MemoryRegistry registry_;
  test_support::OfflineNetwork network_;
};

// Only a window titled exactly so counts, whoever owns it; it keeps its minimised state.
TEST_F(StartTest, AnyWindowWithTheExactTitleCounts) {
  platform_.AddForeignWindow("quorvane utility program (qup)");
  const ui::WindowRef other = platform_.AddForeignWindow(kTitle, true);

  EXPECT_FALSE(Start());

  EXPECT_EQ(platform_.foreground(), other);
  EXPECT_TRUE(platform_.TopLevel(other).minimised);
  EXPECT_TRUE(platform_.windows().empty());
}

}  // namespace
}  // namespace qup::app
