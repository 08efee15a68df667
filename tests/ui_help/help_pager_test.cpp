// SPDX-License-Identifier: MIT
// Stepping through the help pages with "< Prev" and "Next >", as a user clicking the buttons.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui_help/fake_window.h"
#include "ui/control_ids.h"
#include "ui/help_pages.h"

namespace qup::ui {
namespace {

class HelpPagerTest : public ::testing::Test {
 protected:
  void SetUp() override { pager_.Init(window_, help_text_); }

  // The buttons and the text the user sees agree with the page the pager is on.
  void ExpectShowing(int page) {
    SCOPED_TRACE("page " + std::to_string(page));
    EXPECT_EQ(pager_.index(), page);
    EXPECT_EQ(help_text_, HelpPageText(page));
    EXPECT_EQ(window_.GetText(kHelpText), HelpPageText(page));
    EXPECT_EQ(window_.IsEnabled(kHelpPrevButton), page > 0);
    EXPECT_EQ(window_.IsEnabled(kHelpNextButton), page < kHelpPageCount - 1);
  }

  void Next(int times = 1) {
    for (int i = 0; i < times; ++i) pager_.OnHelpNext(window_, help_text_);
  }
  void Prev(int times = 1) {
    for (int i = 0; i < times; ++i) pager_.OnHelpPrev(window_, help_text_);
  }

  testing::FakeWindow window_;
  std::string help_text_;
  HelpPager pager_;
};

TEST_F(HelpPagerTest, AFreshHelpPageShowsPageZeroWithPrevDisabled) { ExpectShowing(0); }

TEST_F(HelpPagerTest, InitReturnsToPageZeroFromAnyPage) {
  Next(5);
  pager_.Init(window_, help_text_);
  ExpectShowing(0);
}

TEST_F(HelpPagerTest, SevenNextsShowEveryPageInOrder) {
  for (int page = 1; page < kHelpPageCount; ++page) {
    Next();
    ExpectShowing(page);
  }
  EXPECT_NE(HelpPageText(7).find("SUGGESTIONS:"), std::string_view::npos);
}

TEST_F(HelpPagerTest, PrevFromTheLastPageEnablesNextAgain) {
  Next(7);
  Prev();
  ExpectShowing(6);
}

TEST_F(HelpPagerTest, PrevFromPageOneDisablesPrev) {
  Next();
  Prev();
  ExpectShowing(0);
}

TEST_F(HelpPagerTest, PrevOnPageZeroLeavesThePage) {
  Prev();
  ExpectShowing(0);
}

TEST_F(HelpPagerTest, NextOnTheLastPageLeavesThePage) {
  Next(7);
  Next(3);
  ExpectShowing(7);
}

TEST_F(HelpPagerTest, StepsThereAndBackAgain) {
  Next(4);
  Prev(2);
  Next();
  ExpectShowing(3);
}

TEST(HelpPageTextTest, IndicesOutsideTheTableGiveNoText) {
  EXPECT_TRUE(HelpPageText(-1).empty());
  EXPECT_TRUE(HelpPageText(kHelpPageCount).empty());
  for (int page = 0; page < kHelpPageCount; ++page) EXPECT_FALSE(HelpPageText(page).empty());
}

}  // namespace
}  // namespace qup::ui
