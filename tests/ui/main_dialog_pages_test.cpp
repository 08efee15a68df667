// SPDX-License-Identifier: MIT
// The main window's pages and focus, Enter on the pages without a calculator, and the logo
// link's bounds. (What the window shows at start is the transcript tests/acceptance/startup.)
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "suggest/site_config.h"
#include "tests/support/main_dialog_fixture.h"

namespace qup::ui {
namespace {

using test_support::Differences;
using test_support::MainDialogFixture;
using test_support::Snapshot;

class MainWindowTest : public MainDialogFixture {
 protected:
  void SetUp() override { Open(); }
};

// Every control of the page, and nothing of any other page, is visible; a calculator page puts
// the focus in its rate box, any other page leaves it on no control of a page.
TEST_F(MainWindowTest, EachTabChangeShowsExactlyOnePageAndFocusesItsFirstBox) {
  for (int page : {1, 2, 3, 4, 5, 0, 2, 5, 1, 4, 3, 0, 1}) {
    ShowTab(page);
    int focus_page = kNoPage;
    for (const ControlSpec& control_spec : window().dialog().controls) {
      EXPECT_EQ(window().IsVisible(control_spec.id),
                control_spec.page == page || control_spec.page == kNoPage)
          << "control " << control_spec.id << " on page " << page;
      if (control_spec.id == window().FocusedControl()) focus_page = control_spec.page;
    }
    if (page == kW2Page || page == k1099Page) {
      EXPECT_EQ(window().FocusedControl(), page == kW2Page ? kW2RateEdit : kRate1099Edit);
    } else {
      EXPECT_EQ(focus_page, kNoPage) << "page " << page;
    }
  }
}

class EnterOnPageTest : public MainDialogFixture, public ::testing::WithParamInterface<int> {};

// Texts that a Calculate or Clear would change wait on both calculator pages.
TEST_P(EnterOnPageTest, ChangesNothingVisible) {
  Open();
  ShowTab(kW2Page);
  window().Type(kW2RateEdit, "50");
  window().Type(kW2HoursCombo, "2080");
  ShowTab(k1099Page);
  window().Type(kRate1099Edit, "50");
  window().Type(kHours1099Combo, "5");
  ShowTab(GetParam());
  const auto before = Snapshot(window());

  window().PressEnter();

  EXPECT_EQ(Differences(before, Snapshot(window())), "");
  EXPECT_TRUE(MessageBoxes().empty());
  EXPECT_TRUE(platform_.opened_urls().empty());
  EXPECT_FALSE(window().Ended());
}

std::string PageName(const ::testing::TestParamInfo<int>& info) {
  constexpr const char* kNames[] = {"Site", "W2", "1099", "Help", "Suggestions", "About"};
  return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(Pages, EnterOnPageTest,
                         ::testing::Values(kSitePage, kHelpPage, kAboutPage), PageName);

// Only on the start page, and only inside the bounds: the bounds themselves miss.
TEST_F(MainWindowTest, LogoOpensTheHomePageOnlyInsideItsBounds) {
  const std::pair<Point, bool> clicks[] = {
      {{104, 100}, false}, {{105, 100}, true}, {{406, 100}, false}, {{405, 100}, true},
      {{200, 40}, false},  {{200, 41}, true},  {{200, 234}, false}, {{200, 233}, true}};
  std::size_t opened = 0;
  for (const auto& [point, opens] : clicks) {
    window().PressMouse(point);
    opened += opens ? 1 : 0;
    EXPECT_EQ(platform_.opened_urls(), std::vector<std::string>(opened, std::string(HomePageUrl)))
        << "at " << point.x << ", " << point.y;
  }
  for (int page : {kW2Page, k1099Page, kHelpPage, kSuggestionsPage, kAboutPage}) {
    ShowTab(page);
    window().PressMouse({200, 200});
  }
  EXPECT_EQ(platform_.opened_urls().size(), opened);
}

TEST_F(MainWindowTest, LogoFollowsItsRectangleAtOtherBaseUnits) {
  // At 8 × 16 pixels the logo spans x 140 to 538 and y 52 to 288.
  window().SetBaseUnits(8, 16);
  window().PressMouse({120, 100});
  EXPECT_TRUE(platform_.opened_urls().empty());
  window().PressMouse({500, 280});
  EXPECT_EQ(platform_.opened_urls().size(), 1u);
}

}  // namespace
}  // namespace qup::ui
