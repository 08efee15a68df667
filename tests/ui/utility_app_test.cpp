// SPDX-License-Identifier: MIT
// The program's start: one copy shows its window, a second start brings it to the front.
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

TEST_F(StartTest, RunsTheMainWindowUntilItCloses) {
  platform_.QueueModalScript([](ui::MemoryWindow& window) { window.PressEsc(); });

  EXPECT_FALSE(Start());

  ASSERT_EQ(platform_.windows().size(), 1u);
  EXPECT_EQ(platform_.windows()[0]->Title(), kTitle);
  EXPECT_TRUE(platform_.windows()[0]->Ended());
}

TEST_F(StartTest, SecondStartBringsTheRunningWindowToTheFront) {
  bool second_start_result = true;
  ui::WindowRef running = 0;
  platform_.QueueModalScript([&](ui::MemoryWindow& window) {
    running = platform_.FindTopLevelWindow(kTitle);
    second_start_result = Start();
    window.PressEsc();
  });

  Start();

  EXPECT_FALSE(second_start_result);
  EXPECT_NE(running, 0u);
  EXPECT_EQ(platform_.foreground(), running);
  EXPECT_EQ(platform_.windows().size(), 1u);
}

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
