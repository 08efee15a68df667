// SPDX-License-Identifier: MIT
// Stepping through the help pages with "< Prev" and "Next >", as a user clicking the buttons.
#include <gtest/gtest.h>

#include <string>

#include "ui/control_ids.h"
#include "ui/help_pages.h"
#include "ui/main_template.h"
#include "ui/platform/memory_platform.h"

namespace qup::ui {
namespace {

// The Help page of the main window with nothing but the pager behind its buttons.
class HelpPageHost : public DialogHandler {
 public:
  void OnInitDialog(Window& window) override {
    window_ = &window;
    pager.Init(window, help_text);
  }
  void OnCommand(int id, Notification code) override {
    if (code != Notification::kClicked) return;
    if (id == kHelpPrevButton) pager.OnHelpPrev(*window_, help_text);
    if (id == kHelpNextButton) pager.OnHelpNext(*window_, help_text);
  }
  void OnSysCommand(unsigned) override {}

  HelpPager pager;
  std::string help_text;

 private:
  Window* window_ = nullptr;
};

class HelpPagerTest : public ::testing::Test {
 protected:
  HelpPagerTest() : window_(platform_, kMainDialogTemplate, host_, nullptr) {
    host_.OnInitDialog(window_);
  }

  // The buttons and the text the user sees agree with the page the pager is on.
  void ExpectShowing(int page) {
    SCOPED_TRACE("page " + std::to_string(page));
    EXPECT_EQ(host_.pager.index(), page);
    EXPECT_EQ(host_.help_text, HelpPageText(page));
    EXPECT_EQ(window_.GetText(kHelpText), HelpPageText(page));
    EXPECT_EQ(window_.IsEnabled(kHelpPrevButton), page > 0);
    EXPECT_EQ(window_.IsEnabled(kHelpNextButton), page < kHelpPageCount - 1);
  }

  void ClickNext(int times = 1) {
    for (int i = 0; i < times; ++i) ASSERT_TRUE(window_.Click(kHelpNextButton));
  }
  void ClickPrev(int times = 1) {
    for (int i = 0; i < times; ++i) ASSERT_TRUE(window_.Click(kHelpPrevButton));
  }

  MemoryPlatform platform_;
  HelpPageHost host_;
  MemoryWindow window_;
};

TEST_F(HelpPagerTest, AFreshHelpPageShowsPageZeroWithPrevDisabled) { ExpectShowing(0); }

TEST_F(HelpPagerTest, SevenNextsShowEveryPageInOrder) {
  for (int page = 1; page < kHelpPageCount; ++page) {
    ClickNext();
    ExpectShowing(page);
  }
  EXPECT_FALSE(window_.Click(kHelpNextButton));
  EXPECT_NE(window_.GetText(kHelpText).find("SUGGESTIONS:"), std::string::npos);
}

TEST_F(HelpPagerTest, PrevFromTheLastPageEnablesNextAgain) {
  ClickNext(7);
  ClickPrev();
  ExpectShowing(6);
}

TEST_F(HelpPagerTest, PrevFromPageOneDisablesPrev) {
  ClickNext();
  ClickPrev();
  ExpectShowing(0);
  EXPECT_FALSE(window_.Click(kHelpPrevButton));
}

TEST_F(HelpPagerTest, StepsThereAndBackAgain) {
  ClickNext(4);
  ClickPrev(2);
  ClickNext();
  ExpectShowing(3);
}

TEST_F(HelpPagerTest, InitReturnsToPageZeroFromAnyPage) {
  ClickNext(5);
  host_.pager.Init(window_, host_.help_text);
  ExpectShowing(0);
}

// The disabled buttons keep these commands away; one that arrives some other way is ignored.
TEST_F(HelpPagerTest, PrevCommandOnPageZeroLeavesThePage) {
  host_.pager.OnHelpPrev(window_, host_.help_text);
  ExpectShowing(0);
}

TEST_F(HelpPagerTest, NextCommandOnTheLastPageLeavesThePage) {
  ClickNext(7);
  host_.pager.OnHelpNext(window_, host_.help_text);
  host_.pager.OnHelpNext(window_, host_.help_text);
  ExpectShowing(7);
}

TEST(HelpPageTextTest, IndicesOutsideTheTableGiveNoText) {
  EXPECT_TRUE(HelpPageText(-1).empty());
  EXPECT_TRUE(HelpPageText(kHelpPageCount).empty());
  for (int page = 0; page < kHelpPageCount; ++page) EXPECT_FALSE(HelpPageText(page).empty());
}

}  // namespace
}  // namespace qup::ui
